#include "support/TestSupport.h"

#include "Version.h"

#include <gtest/gtest.h>

using TestSupport::runCli;

TEST(CliBasics, VersionAndHelpSucceed) {
    const auto version = runCli({QStringLiteral("--version")});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, QByteArray("tintaro-cli " TINTARO_VERSION "\n"));

    const auto help = runCli({QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith("Usage: tintaro-cli COMMAND"));
}

TEST(CliBasics, BadInputGivesExitCode2AndOneLine) {
    for (const QStringList& args : {QStringList{}, QStringList{QStringLiteral("no-such-command")}}) {
        const auto result = runCli(args);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_TRUE(result.out.isEmpty());
        EXPECT_EQ(result.err.count('\n'), 1) << result.err.constData();
        EXPECT_TRUE(result.err.startsWith("tintaro-cli: "));
    }
}
