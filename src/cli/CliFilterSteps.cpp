#include "cli/CliFilterSteps.h"

#include "cli/CliCommand.h"
#include "document/uFotobuchBildManager.h"
#include "filters/uPictureFilter.h"
#include "filters/uPixPinsel.h"
#include "platform/Exception.h"
#include "platform/uAtomicFile.h"
#include "platform/uImaging.h"

#include <QLocale>

namespace CliFilter {

const char* const kOptionsUsage = "--hkig H,K,I,G | --hsl HUE,SAT,LIGHT | --swcol HUE,SAT | --redeye X,Y[,N]";

namespace {

QStringList parts(const QString& option, const QString& value, int least, int most) {
    const QStringList list = value.split(QLatin1Char(','));
    if (list.size() < least || list.size() > most) {
        const QString count =
            least == most ? QString::number(least) : QStringLiteral("%1 or %2").arg(least).arg(most);
        throw CliUsageError(
            QStringLiteral("%1 needs %2 comma-separated numbers, not \"%3\"").arg(option, count, value));
    }
    return list;
}

float number(const QString& option, const QString& text) {
    bool ok = false;
    const float value = QLocale::c().toFloat(text.trimmed(), &ok);
    if (!ok)
        throw CliUsageError(QStringLiteral("%1: \"%2\" is not a number").arg(option, text));
    return value;
}

void requireRange(const QString& option, const QString& what, float value, float low, float high) {
    if (!(value >= low && value <= high)) {
        throw CliUsageError(
            QStringLiteral("%1: %2 must lie in %3..%4").arg(option, what).arg(double(low)).arg(double(high)));
    }
}

} // namespace

bool IsFilterOption(const QString& arg) {
    return arg == QLatin1String("--hkig") || arg == QLatin1String("--hsl") ||
           arg == QLatin1String("--swcol") || arg == QLatin1String("--redeye");
}

TCliFilterStep ParseStep(const QStringList& args, int& i) {
    const QString option = args[i];
    if (i + 1 >= args.size())
        throw CliUsageError(QStringLiteral("%1 needs a value").arg(option));
    const QString value = args[++i];
    ++i;
    TCliFilterStep step{TPictureFilterKind::HKIG};
    if (option == QLatin1String("--hkig")) {
        const QStringList p = parts(option, value, 4, 4);
        for (int k = 0; k < 4; ++k)
            step.Values[k] = number(option, p[k]);
        const QString error = CheckHKIG(step.Values[0], step.Values[1], step.Values[2], step.Values[3]);
        if (!error.isEmpty())
            throw CliUsageError(error);
    } else if (option == QLatin1String("--hsl")) {
        step.Kind = TPictureFilterKind::HSL;
        const QStringList p = parts(option, value, 3, 3);
        for (int k = 0; k < 3; ++k)
            step.Values[k] = number(option, p[k]);
        requireRange(option, QStringLiteral("the hue shift"), step.Values[0], -0.5f, 0.5f);
        requireRange(option, QStringLiteral("the saturation shift"), step.Values[1], -1, 1);
        requireRange(option, QStringLiteral("the lightness shift"), step.Values[2], -1, 1);
    } else if (option == QLatin1String("--swcol")) {
        step.Kind = TPictureFilterKind::SWCol;
        const QStringList p = parts(option, value, 2, 2);
        for (int k = 0; k < 2; ++k)
            step.Values[k] = number(option, p[k]);
        requireRange(option, QStringLiteral("the hue"), step.Values[0], 0, 1);
        requireRange(option, QStringLiteral("the saturation"), step.Values[1], 0, 1);
    } else if (option == QLatin1String("--redeye")) {
        step.Kind = TPictureFilterKind::RedEye;
        const QStringList p = parts(option, value, 2, 3);
        step.X = Cli::parseInt(p[0], option);
        step.Y = Cli::parseInt(p[1], option);
        if (p.size() == 3) {
            step.Brush = Cli::parseInt(p[2], option);
            if (step.Brush != 3 && step.Brush != 5 && step.Brush != 9)
                throw CliUsageError(QStringLiteral("%1: the brush size must be 3, 5 or 9").arg(option));
        }
    } else {
        throw CliUsageError(QStringLiteral("unknown option %1").arg(option));
    }
    return step;
}

void RequireInside(const TCliFilterStep& step, QSize picture) {
    if (step.Kind != TPictureFilterKind::RedEye)
        return;
    if (step.X < 0 || step.Y < 0 || step.X >= picture.width() || step.Y >= picture.height()) {
        throw CliUsageError(QStringLiteral("--redeye: %1,%2 lies outside the picture (%3 x %4)")
                                .arg(step.X)
                                .arg(step.Y)
                                .arg(picture.width())
                                .arg(picture.height()));
    }
}

void Apply(QImage& picture, const TCliFilterStep& step) {
    const float* v = step.Values;
    switch (step.Kind) {
    case TPictureFilterKind::HKIG:
        FilterHKIG(picture, v[0], v[1], v[2], v[3]);
        break;
    case TPictureFilterKind::HSL:
        FilterHSL(picture, v[0], v[1], v[2]);
        break;
    case TPictureFilterKind::SWCol:
        FilterSWCol(picture, v[0], v[1]);
        break;
    case TPictureFilterKind::RedEye: {
        TPixPinsel brush(step.Brush, step.Brush);
        brush.MakeRound();
        // A click at zoom 1 on the pixel itself.
        const QPoint at = RedEye::PaintBoxToPicture({step.X, step.Y}, 1.0f);
        RedEye::Retouch(picture, brush, at.x(), at.y());
        break;
    }
    }
}

void WritePng(const QImage& picture, const QString& path) {
    const QByteArray png = Imaging::EncodePng(picture);
    if (png.isEmpty())
        throw CliUsageError(QStringLiteral("cannot encode the picture as PNG"));
    try {
        TAtomicFile file(path);
        if (file.write(png) != png.size())
            throw Exception(QStringLiteral("cannot write %1").arg(path));
        file.Commit();
    } catch (const Exception& e) {
        throw CliUsageError(QStringLiteral("cannot write %1: %2").arg(path, e.message()));
    }
}

} // namespace CliFilter
