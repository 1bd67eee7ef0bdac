// tintaro-cli thumbnail FILE OUT.png [--size N]: the picture a file manager shows for a project,
// its first view fitted into N x N pixels (default 256) at preview quality, written as PNG. This
// is the command the desktop's thumbnailer entry runs on files it has never seen, so it guards
// itself: a file larger than a project could reasonably be is refused unread, the process gets an
// upper bound on its memory and a deadline, and OUT is written only when the picture is complete.
// On any failure the exit code is 2 and OUT does not exist (the file manager shows its own icon).
#include "cli/CliCommand.h"
#include "document/uFotobuchDocument.h"
#include "document/uFotobuchDocumentIO.h"
#include "platform/uAtomicFile.h"
#include "render/uProjectThumbnail.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageWriter>

#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace {

const QString kUsage = QStringLiteral("usage: tintaro-cli thumbnail FILE OUT.png [--size N]");

// Projects hold their photos' encoded bytes; beyond this a file is not read for a thumbnail.
constexpr qint64 kMaxFileBytes = qint64(768) << 20;
// Address space the process may take while it makes the thumbnail.
constexpr rlim_t kMaxAddressSpace = rlim_t(3) << 30;
// Seconds until a thumbnail that has not been written gives up; TINTARO_THUMBNAIL_SECONDS
// shortens it for tests.
constexpr int kDeadlineSeconds = 20;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

// The sanitizers reserve terabytes of address space up front; a limit would stop them, not us.
void limitAddressSpace() {
    if (kSanitized)
        return;
    rlimit limit{};
    if (getrlimit(RLIMIT_AS, &limit) != 0)
        return;
    if (limit.rlim_cur != RLIM_INFINITY && limit.rlim_cur <= kMaxAddressSpace)
        return;
    limit.rlim_cur = kMaxAddressSpace;
    setrlimit(RLIMIT_AS, &limit);
}

int deadlineSeconds() {
    bool ok = false;
    const int seconds = qEnvironmentVariableIntValue("TINTARO_THUMBNAIL_SECONDS", &ok);
    return ok && seconds > 0 ? std::min(seconds, kDeadlineSeconds) : kDeadlineSeconds;
}

// Ends the process with exit code 2 when the thumbnail is not done by the deadline. Nothing has
// been written by then: the picture goes to OUT only after everything else succeeded.
class TDeadline {
public:
    explicit TDeadline(int seconds)
        : thread_([this, seconds] {
              std::unique_lock<std::mutex> lock(mutex_);
              if (!done_.wait_for(lock, std::chrono::seconds(seconds), [this] { return finished_; })) {
                  std::fputs("tintaro-cli: the thumbnail took too long\n", stderr);
                  _exit(2);
              }
          }) {}
    ~TDeadline() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            finished_ = true;
        }
        done_.notify_all();
        thread_.join();
    }
    TDeadline(const TDeadline&) = delete;
    TDeadline& operator=(const TDeadline&) = delete;

private:
    std::mutex mutex_;
    std::condition_variable done_;
    bool finished_ = false;
    std::thread thread_;
};

int runThumbnail(const QStringList& args, QTextStream& out) {
    QString file, target;
    int side = ProjectThumbnail::kDefaultSide;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--size")) {
            if (i + 1 >= args.size())
                throw CliUsageError(QStringLiteral("--size needs a value; %1").arg(kUsage));
            side = Cli::parseInt(args[++i], arg);
            if (side < ProjectThumbnail::kMinSide || side > ProjectThumbnail::kMaxSide)
                throw CliUsageError(QStringLiteral("--size must lie between %1 and %2, not %3")
                                        .arg(ProjectThumbnail::kMinSide)
                                        .arg(ProjectThumbnail::kMaxSide)
                                        .arg(side));
        } else if (arg.startsWith(QLatin1String("--"))) {
            throw CliUsageError(QStringLiteral("unknown option %1; %2").arg(arg, kUsage));
        } else if (file.isEmpty()) {
            file = arg;
        } else if (target.isEmpty()) {
            target = arg;
        } else {
            throw CliUsageError(kUsage);
        }
    }
    if (file.isEmpty() || target.isEmpty())
        throw CliUsageError(kUsage);
    Cli::requireFile(file);
    if (QFileInfo(file).size() > kMaxFileBytes)
        throw CliUsageError(QStringLiteral("%1 is too large for a thumbnail").arg(file));

    limitAddressSpace();
    QByteArray png;
    QSize size;
    {
        // Ends before OUT is written, so a late deadline never cuts the writing short.
        const TDeadline deadline(deadlineSeconds());
        TFBDocument document;
        LoadDocumentFromFile(document, file);
        const QImage picture = ProjectThumbnail::Render(document, side);
        if (picture.isNull())
            throw CliUsageError(QStringLiteral("%1 has no view to draw").arg(file));
        size = picture.size();
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "png");
        if (!writer.write(picture))
            throw CliUsageError(QStringLiteral("the thumbnail could not be encoded"));
    }
    TAtomicFile output(target);
    if (output.write(png) != png.size())
        throw CliUsageError(QStringLiteral("cannot write %1").arg(target));
    output.Commit();
    out << QStringLiteral("%1 x %2\n").arg(size.width()).arg(size.height());
    return 0;
}

CliRegistration reg{
    CliCommand{QStringLiteral("thumbnail"), QStringLiteral("thumbnail FILE OUT.png [--size N]"),
               QStringLiteral("draw a project's cover into an N x N thumbnail (PNG)"), runThumbnail}};

} // namespace
