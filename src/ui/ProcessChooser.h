#pragma once
// A list of the running processes to pick one from, for the item editor.

#include <optional>
#include <vector>

#include <QDialog>

#include "platform/Processes.h"

class QTreeWidget;

namespace kestrune::ui {

inline constexpr const char* kProcessChooserCaption = "Kestrune - Running processes";

class ProcessChooser final : public QDialog {
    Q_OBJECT
public:
    ProcessChooser(std::vector<platform::ProcessInfo> processes, QWidget* parent = nullptr);
    std::optional<platform::ProcessInfo> Chosen() const;
    QTreeWidget* List() const { return list_; }

private:
    std::vector<platform::ProcessInfo> processes_;
    QTreeWidget* list_ = nullptr;
};

}  // namespace kestrune::ui
