#!/usr/bin/env bash
# Installs what the fuzz build needs beyond the normal build: clang, its
# libFuzzer and sanitizer runtimes, and the symbolizer for readable reports.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh clang libclang-rt-14-dev llvm-14
