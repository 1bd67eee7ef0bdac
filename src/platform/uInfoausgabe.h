#pragma once

#include <QString>

// Where progress and status texts end up. The main window installs itself as the target while
// it exists; without a target the texts go nowhere (the command-line tool, tests of the core).
class TInfoTarget {
public:
    virtual ~TInfoTarget() = default;

    // The single-text status line at the bottom of the main window.
    virtual void SetStatusText(const QString& text) = 0;
    // Creates the progress window (disabling the main window) or updates its text; then lets
    // pending window messages run once so that the text is painted.
    virtual void ShowProgress(const QString& text) = 0;
    // Closes the progress window, if any, and enables the main window again.
    virtual void HideProgress() = 0;
    // The report of a command that failed (see Guarded). Without a window to show it in, the
    // message goes to the standard error output.
    virtual void ShowError(const QString& message);
};

// The one progress and status output through which every long operation reports.
// Every long operation ends with Info(""), which closes the progress window.
class TInfoAusgabe {
public:
    static TInfoAusgabe& instance();

    // Status line and progress window show the text; an empty text closes the progress window.
    void Info(const QString& text);
    // Info of the formatted text ("%d" and friends as in printf; QString arguments are not allowed,
    // pass them as text.toUtf8().constData()).
    template <typename... Args>
    void InfoFmt(const QString& format, Args... args) {
        if constexpr (sizeof...(Args) == 0)
            Info(format);
        else
            Info(QString::asprintf(format.toUtf8().constData(), args...));
    }
    // Only the status line shows the text; the progress window is left alone.
    void Status(const QString& text);
    // Reports a failed command to the user; the standard error output when there is no target.
    void Error(const QString& message);

    // The main window installs itself on creation and removes itself (nullptr) on destruction.
    void SetTarget(TInfoTarget* target) { target_ = target; }
    TInfoTarget* Target() const { return target_; }

private:
    TInfoAusgabe() = default;

    TInfoTarget* target_ = nullptr;
};

inline TInfoAusgabe& InfoAusgabe() {
    return TInfoAusgabe::instance();
}
