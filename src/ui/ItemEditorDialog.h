#pragma once
// The item editor: name, path and, for delayed applications and processes, the delay and the
// priority of a new or an existing row. It shows and fills the core's editor state; OK hands
// the checks and the storing to the core.

#include <array>
#include <functional>

#include <QDialog>

#include "app/Prompts.h"
#include "locations/ItemEditor.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kestrune {
struct MainState;
}

namespace kestrune::ui {

inline constexpr std::array<const char*, 7> kEditorPriorities = {"",       "Realtime",     "High", "Above Normal",
                                                                 "Normal", "Below Normal", "Low"};

class ItemEditorDialog final : public QDialog {
    Q_OBJECT
public:
    ItemEditorDialog(ItemEditorState& editor, std::function<EditorField()> confirm, MainState& state, Prompts& prompts,
                     QWidget* parent = nullptr);

    QLineEdit* NameBox() const { return name_; }
    QLineEdit* PathBox() const { return path_; }
    QLineEdit* DelayBox() const { return delay_; }
    QComboBox* PriorityBox() const { return priority_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

    void accept() override;
    // Fills name and path from a chosen file or a running process.
    void ChooseFile();
    void ChooseProcess();

private:
    void StoreFields();

    ItemEditorState& editor_;
    std::function<EditorField()> confirm_;
    MainState& state_;
    Prompts& prompts_;
    QLineEdit* name_ = nullptr;
    QLineEdit* path_ = nullptr;
    QLineEdit* delay_ = nullptr;
    QComboBox* priority_ = nullptr;
    QLabel* delayLabel_ = nullptr;
    QLabel* priorityLabel_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace kestrune::ui
