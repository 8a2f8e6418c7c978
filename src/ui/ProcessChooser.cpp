#include "ui/ProcessChooser.h"

#include <algorithm>

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/Text.h"

namespace kestrune::ui {

ProcessChooser::ProcessChooser(std::vector<platform::ProcessInfo> processes, QWidget* parent)
    : QDialog(parent), processes_(std::move(processes)) {
    setWindowTitle(kProcessChooserCaption);
    resize(560, 380);
    std::stable_sort(processes_.begin(), processes_.end(), [](const auto& a, const auto& b) {
        const int byName = CompareIgnoreCase(a.name, b.name);
        return byName != 0 ? byName < 0 : a.path < b.path;
    });
    // Many copies of one program (shells, helpers) would only bury the others: one line each.
    processes_.erase(std::unique(processes_.begin(), processes_.end(),
                                 [](const auto& a, const auto& b) { return a.name == b.name && a.path == b.path; }),
                     processes_.end());

    auto* layout = new QVBoxLayout(this);
    list_ = new QTreeWidget(this);
    list_->setRootIsDecorated(false);
    list_->setHeaderLabels({"Name", "Path"});
    list_->setAlternatingRowColors(true);
    for (size_t i = 0; i < processes_.size(); ++i) {
        auto* item = new QTreeWidgetItem(
            list_, {QString::fromStdString(processes_[i].name), QString::fromStdString(processes_[i].path)});
        item->setData(0, Qt::UserRole, static_cast<qulonglong>(i));
    }
    list_->header()->resizeSections(QHeaderView::ResizeToContents);
    layout->addWidget(list_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QTreeWidget::itemDoubleClicked, this, &QDialog::accept);
    layout->addWidget(buttons);
}

std::optional<platform::ProcessInfo> ProcessChooser::Chosen() const {
    const QTreeWidgetItem* item = list_->currentItem();
    if (!item) return std::nullopt;
    return processes_[static_cast<size_t>(item->data(0, Qt::UserRole).toULongLong())];
}

}  // namespace kestrune::ui
