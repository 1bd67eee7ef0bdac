#pragma once

#include <QByteArray>
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <utility>
#include <vector>

namespace TestSupport {

// A fresh home folder for one test: HOME, XDG_CONFIG_HOME and XDG_DATA_HOME point into a temporary
// folder while the object lives, so settings and data files never touch the real user folders.
class TempHome {
public:
    TempHome() {
        EXPECT_TRUE(dir_.isValid());
        remember("HOME");
        remember("XDG_CONFIG_HOME");
        remember("XDG_DATA_HOME");
        qputenv("HOME", dir_.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", (dir_.path() + QStringLiteral("/config")).toUtf8());
        qputenv("XDG_DATA_HOME", (dir_.path() + QStringLiteral("/data")).toUtf8());
    }
    ~TempHome() {
        for (const auto& [name, value] : saved_) {
            if (value.isNull())
                qunsetenv(name);
            else
                qputenv(name, value);
        }
    }
    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;

    QString path() const { return dir_.path(); }
    QString configFolder() const { return dir_.path() + QStringLiteral("/config"); }
    QString dataFolder() const { return dir_.path() + QStringLiteral("/data"); }
    // The user's settings file below this home.
    QString settingsFile() const { return configFolder() + QStringLiteral("/Tessaro/Albumorix.ini"); }

private:
    void remember(const char* name) { saved_.push_back({name, qgetenv(name)}); }

    QTemporaryDir dir_;
    std::vector<std::pair<const char*, QByteArray>> saved_;
};

} // namespace TestSupport
