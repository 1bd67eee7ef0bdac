#include "cli/JsonKeyOrder.h"
#include "support/TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using TestSupport::runCli;

namespace {
int countSteps(const QJsonObject& step) {
    int count = 1;
    for (const QJsonValue& child : step.value(QLatin1String("children")).toArray())
        count += countSteps(child.toObject());
    return count;
}
} // namespace

TEST(CliWizard, PrintsTheWholeTreeInOrderWithFixedKeys) {
    const auto result =
        runCli({QStringLiteral("wizard"), QStringLiteral("--today"), QStringLiteral("2025-12-31")});
    ASSERT_EQ(result.exitCode, 0) << result.err.constData();
    QJsonParseError error{};
    const QJsonDocument json = QJsonDocument::fromJson(result.out, &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    const QJsonObject root = json.object();
    EXPECT_EQ(keysInOrder(result.out),
              (QStringList{QStringLiteral("caption"), QStringLiteral("heading"), QStringLiteral("picture"),
                           QStringLiteral("code"), QStringLiteral("year"), QStringLiteral("children")}));
    EXPECT_EQ(countSteps(root), 85);
    EXPECT_EQ(root.value(QLatin1String("heading")).toString(), QStringLiteral("Wählen Sie Ihr Format"));
    EXPECT_EQ(root.value(QLatin1String("picture")).toString(), QString());
    EXPECT_EQ(root.value(QLatin1String("code")).toInt(-1), 0);

    const QJsonArray formats = root.value(QLatin1String("children")).toArray();
    ASSERT_EQ(formats.size(), 7);
    EXPECT_EQ(formats[1].toObject().value(QLatin1String("code")).toInt(), 11);
    EXPECT_EQ(formats[2].toObject().value(QLatin1String("caption")).toString(),
              QStringLiteral("10x15 Singles"));
    const QJsonObject a5layout3 =
        formats[5].toObject().value(QLatin1String("children")).toArray()[2].toObject();
    EXPECT_EQ(a5layout3.value(QLatin1String("caption")).toString(), QStringLiteral("Layout 3"));
    const QJsonArray years = a5layout3.value(QLatin1String("children")).toArray();
    ASSERT_EQ(years.size(), 5);
    EXPECT_EQ(years[0].toObject().value(QLatin1String("year")).toString(), QStringLiteral("2025"));
    EXPECT_EQ(years[4].toObject().value(QLatin1String("year")).toString(), QStringLiteral("2029"));
    EXPECT_EQ(years[4].toObject().value(QLatin1String("code")).toInt(), 73);
    EXPECT_EQ(years[4].toObject().value(QLatin1String("picture")).toString(),
              QStringLiteral("WIZ_KALENDER_A5_3"));
    EXPECT_EQ(years[4].toObject().value(QLatin1String("children")).toArray().size(), 0);
}

TEST(CliWizard, AnImpossibleDayIsRefusedOnOneLine) {
    for (const QStringList& args :
         {QStringList{QStringLiteral("wizard"), QStringLiteral("--today"), QStringLiteral("2025-13-40")},
          QStringList{QStringLiteral("wizard"), QStringLiteral("--today")},
          QStringList{QStringLiteral("wizard"), QStringLiteral("extra")}}) {
        const auto result = runCli(args);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_TRUE(result.out.isEmpty());
        EXPECT_EQ(result.err.count('\n'), 1) << result.err.constData();
    }
}
