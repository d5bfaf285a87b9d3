#pragma once
// The thread pool that decodes pictures (thumbnail walks, batches of opened
// files), sized to the cores. It is not Qt's global pool on purpose: Qt's
// raster painting splits large fills and image draws over the global pool and
// waits for them on the interface thread, so a global pool busy with decodes
// would hold every repaint until a decode ends.
class QThreadPool;

[[nodiscard]] QThreadPool* DecodePool();

// Called first in every background task: lowers the calling thread's
// scheduling weight (once per thread) so that the interface thread wins the
// cores whenever it has something to paint, however many tasks run.
void BackgroundWork();
