#pragma once
// The delayed-run window: the run's applications with their ticks and state icons, the
// progress bar with its percentage, the progress line and the processor bar, and the Hide and
// Exit buttons. It draws the core's DelayedWindow model; unticking a row tells the run to pass
// it over.

#include <functional>

#include <QWidget>

#include "delayed/DelayedWindow.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class QVBoxLayout;

namespace kestrune::ui {

class DelayedWindowView final : public QWidget {
    Q_OBJECT
public:
    // `onHide`: the Hide button and the close box; `onExit`: the Exit button.
    DelayedWindowView(DelayedWindow& model, std::function<void()> onHide, std::function<void()> onExit,
                      QWidget* parent = nullptr);

    // Draws the model as it stands.
    void Refresh();

    QTreeWidget* List() const { return list_; }
    QProgressBar* Progress() const { return progress_; }
    QProgressBar* Cpu() const { return cpu_; }
    QLabel* ProgressLine() const { return line_; }
    QPushButton* HideButton() const { return hide_; }
    QPushButton* ExitButton() const { return exit_; }
    // Puts the run's timeline under the list, where it grows as the run goes on.
    void AddTimeline(QWidget* timeline);

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void OnItemChanged(QTreeWidgetItem* item, int column);

    DelayedWindow& model_;
    std::function<void()> onHide_;
    std::function<void()> onExit_;
    QTreeWidget* list_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QProgressBar* cpu_ = nullptr;
    QLabel* line_ = nullptr;
    QPushButton* hide_ = nullptr;
    QPushButton* exit_ = nullptr;
    QVBoxLayout* layout_ = nullptr;
    bool filling_ = false;
    bool placed_ = false;  // centred on its first showing; later where the user left it
};

}  // namespace kestrune::ui
