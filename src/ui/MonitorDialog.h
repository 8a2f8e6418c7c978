#pragma once
// The change monitor's question: which programs registered themselves to start with Windows,
// whether they may stay, and whether to remember the answer.

#include <QDialog>

#include <QElapsedTimer>

class QCheckBox;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace kestrune::ui {

inline constexpr const char* kMonitorCaption = "Kestrune - Monitor";
inline constexpr const char* kRememberCaption = "Remember your decision";
inline constexpr const char* kAllowCaption = "Allow";
inline constexpr const char* kRemoveCaption = "Remove";

// Only its two buttons answer it: no key is taken for an answer until the dialog has been up
// for a moment (an Enter or Esc typed for another window must not decide), neither button is
// a default one, Esc does nothing, and a dialog closed otherwise (its close box, the end of
// the session) has no answer.
class MonitorDialog final : public QDialog {
    Q_OBJECT
public:
    enum class Choice { None, Allow, Remove };
    // How long after it appears the dialog takes no key.
    static constexpr int kKeyGuardMilliseconds = 600;

    // `newEntries` ("Updater — HKCU Run") are listed under the message.
    MonitorDialog(const QString& message, const QStringList& newEntries, QWidget* parent = nullptr);
    bool Remember() const;
    Choice Chosen() const { return chosen_; }
    QCheckBox* RememberBox() const { return remember_; }
    QPushButton* AllowButton() const { return allow_; }
    QPushButton* RemoveButton() const { return remove_; }

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Choose(Choice choice);

    QPlainTextEdit* text_ = nullptr;
    QListWidget* places_ = nullptr;
    QCheckBox* remember_ = nullptr;
    QPushButton* allow_ = nullptr;
    QPushButton* remove_ = nullptr;
    Choice chosen_ = Choice::None;
    QElapsedTimer shown_;
};

}  // namespace kestrune::ui
