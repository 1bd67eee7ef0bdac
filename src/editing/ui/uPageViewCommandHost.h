#pragma once

#include "editing/uClipboard.h"
#include "editing/uPageViewCommands.h"

#include <QObject>
#include <QPoint>
#include <QStringList>

#include <functional>
#include <memory>

class QAbstractScrollArea;
class QDragMoveEvent;
class QDropEvent;
class QLabel;
class QMenu;
class TPageView;

// The system clipboard behind the page view's Cut, Copy and Paste. The offered formats are
// cached whenever the clipboard changes, because asking another program's clipboard waits on it;
// the Edit menu follows OnChanged.
class TSystemClipboard : public QObject, public TClipboardService {
    Q_OBJECT
public:
    explicit TSystemClipboard(QObject* parent = nullptr);
    const QMimeData* Data() const override;
    void SetData(std::unique_ptr<QMimeData> data) override;
    bool HasFormat(const QString& format) const override { return formats_.contains(format); }

signals:
    void Changed();

private:
    void refresh();
    QStringList formats_;
};

// What the page view widget does around its commands: drops from the event's data and place, the
// context menu built from the commands' menu model, the status panel and the hourglass. The
// widget forwards its drag, drop and menu events here.
class TPageViewCommandHost : public QObject, public TCommandWindow {
    Q_OBJECT
public:
    TPageViewCommandHost(QAbstractScrollArea* widget, TPageView& core);
    ~TPageViewCommandHost() override;

    TPageViewCommands& Commands() { return commands_; }

    // Drag enter takes the data at once (another program's data may be gone by the drop); enter
    // and move accept with the drop's effect or refuse.
    void DragEnter(QDragMoveEvent* event);
    void DragMove(QDragMoveEvent* event);
    void DragLeave();
    void Drop(QDropEvent* event);
    // Fills the menu for the element and page of the last right click (or the selection).
    void BuildMenu(QMenu& menu);
    // Shows the context menu at the global position and runs the chosen command.
    void ShowContextMenu(const QPoint& globalPos);
    // Runs a command; a failure is reported once (Guarded).
    void RunGuarded(const std::function<void()>& command);

    // The status panel over the page view (null text: hidden).
    QLabel* StatusPanel() const { return status_; }

    // The Yes/No question (a message box unless replaced); tests answer it.
    std::function<bool(const QString& question)> AskYesNo;
    // A text for the main window's status line.
    std::function<void(const QString& text)> OnStatusLine;
    // Told each time the status panel was shown (tests take their screenshots here).
    std::function<void()> OnStatusShown;

    // TCommandWindow
    void Focus() override;
    void BeginWait() override;
    void EndWait() override;
    void ShowStatus(const QString& text) override;
    void StatusLine(const QString& text) override;
    void UpdateNow() override;
    bool Confirm(const QString& question) override;

private:
    bool viewPoint(const QPoint& pos, TFBPointF& at) const;

    QAbstractScrollArea* widget_;
    TPageView& core_;
    TPageViewCommands commands_;
    QLabel* status_;
    int waits_ = 0;
    // The data of the drag in progress, as it was when it entered.
    std::unique_ptr<QMimeData> entered_;
};
