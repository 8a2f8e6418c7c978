#pragma once
// The profiles dialog: the list of profiles with Add, Edit, Delete, "Use selected profile" and
// Close. The list and what each button does belong to the core's ProfileList.

#include <QDialog>

class QListWidget;
class QPushButton;

namespace kestrune {
class Application;
class ProfileList;
}  // namespace kestrune

namespace kestrune::ui {

class ProfilesDialog final : public QDialog {
    Q_OBJECT
public:
    ProfilesDialog(Application& app, QWidget* parent = nullptr);

    QListWidget* List() const { return list_; }
    QPushButton* AddButton() const { return add_; }
    QPushButton* EditButton() const { return edit_; }
    QPushButton* DeleteButton() const { return delete_; }
    QPushButton* UseButton() const { return use_; }
    QPushButton* CloseButton() const { return close_; }

    // Esc and the close box: closing may be refused while the profile in use is gone.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Refill();
    void TryClose();

    Application& app_;
    ProfileList& profiles_;
    QListWidget* list_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* edit_ = nullptr;
    QPushButton* delete_ = nullptr;
    QPushButton* use_ = nullptr;
    QPushButton* close_ = nullptr;
};

}  // namespace kestrune::ui
