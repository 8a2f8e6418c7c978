#include "ui/DelayedWindowView.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/Text.h"
#include "ui/IconStore.h"

namespace kestrune::ui {

namespace {

QProgressBar* Bar(QWidget* parent, const char* name) {
    auto* bar = new QProgressBar(parent);
    bar->setObjectName(name);
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setTextVisible(true);
    bar->setAlignment(Qt::AlignCenter);
    return bar;
}

}  // namespace

DelayedWindowView::DelayedWindowView(DelayedWindow& model, std::function<void()> onHide, std::function<void()> onExit,
                                     QWidget* parent)
    : QWidget(parent, Qt::Window), model_(model), onHide_(std::move(onHide)), onExit_(std::move(onExit)) {
    setObjectName("frmDelayed");
    setWindowTitle(kDelayedWindowCaption);
    setWindowIcon(IconStore::AppIcon());
    resize(560, 340);

    auto* layout = new QVBoxLayout(this);
    layout_ = layout;
    list_ = new QTreeWidget(this);
    list_->setObjectName("lvDelayed");
    list_->setRootIsDecorated(false);
    list_->setAlternatingRowColors(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    QStringList headers;
    for (const std::string& header : Split(kDelayedColumns, ",")) headers << QString::fromStdString(header);
    list_->setHeaderLabels(headers);
    list_->header()->setStretchLastSection(true);
    connect(list_, &QTreeWidget::itemChanged, this, &DelayedWindowView::OnItemChanged);
    layout->addWidget(list_, 1);

    line_ = new QLabel(this);
    line_->setObjectName("lblProgress");
    layout->addWidget(line_);

    progress_ = Bar(this, "pbList");
    layout->addWidget(progress_);

    auto* bottom = new QHBoxLayout;
    cpu_ = Bar(this, "npCPU");
    cpu_->setMinimumWidth(160);
    cpu_->setMaximumWidth(220);
    bottom->addWidget(cpu_);
    bottom->addStretch(1);
    hide_ = new QPushButton("&Hide", this);
    hide_->setObjectName("cmdHide");
    exit_ = new QPushButton("E&xit", this);
    exit_->setObjectName("cmdExit");
    connect(hide_, &QPushButton::clicked, this, [this] {
        if (onHide_) onHide_();
    });
    connect(exit_, &QPushButton::clicked, this, [this] {
        if (onExit_) onExit_();
    });
    bottom->addWidget(hide_);
    bottom->addWidget(exit_);
    layout->addLayout(bottom);
    Refresh();
}

void DelayedWindowView::AddTimeline(QWidget* timeline) {
    layout_->insertWidget(1, timeline, 2);
    resize(std::max(width(), timeline->sizeHint().width() + 24), height() + timeline->minimumHeight());
}

void DelayedWindowView::Refresh() {
    filling_ = true;
    const int count = model_.RowCount();
    const bool rebuilt = list_->topLevelItemCount() != count;
    if (rebuilt) {
        list_->clear();
        for (const DelayedRow& row : model_.rows) {
            new QTreeWidgetItem(list_, {QString::fromStdString(row.name), QString::fromStdString(row.delay),
                                        QString::fromStdString(row.path)});
        }
    }
    for (int i = 0; i < count; ++i) {
        const DelayedRow& row = model_.rows[static_cast<size_t>(i)];
        QTreeWidgetItem* item = list_->topLevelItem(i);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(0, row.ticked ? Qt::Checked : Qt::Unchecked);
        item->setIcon(0, IconStore::StateIcon(row.icon));
    }
    // Sized once the check boxes and icons are in, which take room in the first column.
    if (rebuilt) {
        for (int c = 0; c < list_->columnCount() - 1; ++c) list_->resizeColumnToContents(c);
    }
    if (model_.selectedRow >= 1 && model_.selectedRow <= count) {
        QTreeWidgetItem* item = list_->topLevelItem(model_.selectedRow - 1);
        list_->setCurrentItem(item);
        list_->scrollToItem(item);
    }
    progress_->setValue(model_.progressValue);
    progress_->setFormat(QString::fromStdString(model_.progressCaption));
    cpu_->setValue(model_.cpuValue);
    cpu_->setFormat(QString::fromStdString(model_.cpuCaption));
    cpu_->setVisible(!model_.cpuCaption.empty());
    line_->setText(QString::fromStdString(model_.progressLine));
    exit_->setVisible(model_.exitButtonVisible);
    filling_ = false;
}

void DelayedWindowView::OnItemChanged(QTreeWidgetItem* item, int column) {
    if (filling_ || column != 0) return;
    const int index = list_->indexOfTopLevelItem(item);
    if (index < 0 || index >= model_.RowCount()) return;
    model_.rows[static_cast<size_t>(index)].ticked = item->checkState(0) == Qt::Checked;
}

void DelayedWindowView::showEvent(QShowEvent* event) {
    // Sent before the window appears, with its layout settled: the size it will have is known.
    if (!placed_) {
        placed_ = true;
        if (const QScreen* shownOn = screen() ? screen() : QGuiApplication::primaryScreen()) {
            QRect frame = frameGeometry();
            frame.moveCenter(shownOn->availableGeometry().center());
            move(frame.topLeft());
        }
    }
    QWidget::showEvent(event);
}

void DelayedWindowView::closeEvent(QCloseEvent* event) {
    // The run goes on; the window only steps aside.
    event->ignore();
    if (onHide_) onHide_();
}

}  // namespace kestrune::ui
