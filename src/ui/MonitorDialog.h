#pragma once
// The change monitor's question: which programs registered themselves to start with Windows,
// whether they may stay, and whether to remember the answer.

#include <QDialog>

class QCheckBox;
class QListWidget;
class QPlainTextEdit;

namespace kestrune::ui {

inline constexpr const char* kMonitorCaption = "Kestrune - Monitor";
inline constexpr const char* kRememberCaption = "Remember your decision";

class MonitorDialog final : public QDialog {
    Q_OBJECT
public:
    // `newEntries` ("Updater — HKCU Run") are listed under the message.
    MonitorDialog(const QString& message, const QStringList& newEntries, QWidget* parent = nullptr);
    bool Remember() const;
    QCheckBox* RememberBox() const { return remember_; }

private:
    QPlainTextEdit* text_ = nullptr;
    QListWidget* places_ = nullptr;
    QCheckBox* remember_ = nullptr;
};

}  // namespace kestrune::ui
