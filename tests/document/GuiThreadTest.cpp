#include "document/uFotobuchBildManager.h"
#include "platform/uGuiThread.h"

#include <QImage>

#include <gtest/gtest.h>

#include <thread>

// The picture store is the document's: a call from a worker is counted, the user interface's own
// calls are not.
TEST(GuiThread, PictureStoreCallsFromAWorkerAreCounted) {
    TBildmanager& store = TBildmanager::Instance();
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::red);
    const int before = GuiThread::Violations();
    const int ref = store.AddBitmap(picture);
    EXPECT_FALSE(store.GetBitmap(ref).isNull());
    EXPECT_EQ(GuiThread::Violations(), before);
    std::thread worker([&] { store.GetBitmap(ref); });
    worker.join();
    const int fromWorker = GuiThread::Violations();
    EXPECT_GT(fromWorker, before);
    store.Release(ref);
    EXPECT_EQ(GuiThread::Violations(), fromWorker);
}
