#include "app/uStartup.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

TEST(StartupCommandLine, OnlyASingleExistingFileIsOpened) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString project = dir.filePath(QStringLiteral("Urlaub.fbp"));
    QFile file(project);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    EXPECT_EQ(Startup::ProjectToOpen({project}), project);
    EXPECT_TRUE(Startup::ProjectToOpen({}).isEmpty());
    EXPECT_TRUE(Startup::ProjectToOpen({project, project}).isEmpty());
    EXPECT_TRUE(Startup::ProjectToOpen({dir.filePath(QStringLiteral("fehlt.fbp"))}).isEmpty());
    EXPECT_TRUE(Startup::ProjectToOpen({dir.path()}).isEmpty()) << "a folder is not a project";
    EXPECT_TRUE(Startup::ProjectToOpen({QString()}).isEmpty());
}

TEST(StartupSplash, WaitComesFromTheEnvironmentWithThreeSecondsAsDefault) {
    const char* saved = std::getenv("TINTARO_SPLASH_MS");
    const QByteArray keep = saved ? QByteArray(saved) : QByteArray();

    unsetenv("TINTARO_SPLASH_MS");
    EXPECT_EQ(Startup::SplashMinimumMs(), 3000);
    setenv("TINTARO_SPLASH_MS", "0", 1);
    EXPECT_EQ(Startup::SplashMinimumMs(), 0);
    setenv("TINTARO_SPLASH_MS", "250", 1);
    EXPECT_EQ(Startup::SplashMinimumMs(), 250);
    setenv("TINTARO_SPLASH_MS", "bald", 1);
    EXPECT_EQ(Startup::SplashMinimumMs(), 3000);
    setenv("TINTARO_SPLASH_MS", "-5", 1);
    EXPECT_EQ(Startup::SplashMinimumMs(), 0);

    if (saved)
        setenv("TINTARO_SPLASH_MS", keep.constData(), 1);
    else
        unsetenv("TINTARO_SPLASH_MS");
}
