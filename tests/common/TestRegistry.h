#pragma once
// Lets every test file of a subsystem register its QObject test classes, so
// that one program per subsystem runs them all without a hand-kept list.
#include <QObject>

#include <functional>
#include <memory>
#include <vector>

namespace TestRegistry {
using Factory = std::function<std::unique_ptr<QObject>()>;
std::vector<Factory> &factories();
inline bool add(Factory f)
{
    factories().push_back(std::move(f));
    return true;
}
} // namespace TestRegistry

#define SGA_TEST(Class) \
    static const bool sga_registered_##Class = TestRegistry::add([] { return std::make_unique<Class>(); });
