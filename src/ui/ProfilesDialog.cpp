#include "ui/ProfilesDialog.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "session/Application.h"
#include "store/Profiles.h"
#include "ui/IconStore.h"

namespace kestrune::ui {

ProfilesDialog::ProfilesDialog(Application& app, QWidget* parent)
    : QDialog(parent), app_(app), profiles_(app.profiles()) {
    setObjectName("frmProfiles");
    setWindowTitle(kProfilesCaption);
    setWindowIcon(IconStore::AppIcon());
    resize(420, 280);

    auto* layout = new QHBoxLayout(this);
    list_ = new QListWidget(this);
    list_->setObjectName("lstProfiles");
    layout->addWidget(list_, 1);

    auto* buttons = new QVBoxLayout;
    auto button = [this, buttons](const char* caption, const char* name) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    add_ = button("&Add", "cmdAdd");
    edit_ = button("&Edit", "cmdEdit");
    delete_ = button("&Delete", "cmdDelete");
    buttons->addSpacing(12);
    use_ = button("&Use selected profile", "cmdUse");
    buttons->addStretch(1);
    close_ = button("&Close", "cmdClose");
    layout->addLayout(buttons);

    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) profiles_.Select(row);
    });
    connect(list_, &QListWidget::itemDoubleClicked, use_, &QPushButton::click);
    connect(add_, &QPushButton::clicked, this, [this] {
        app_.AddProfile();
        Refill();
    });
    connect(edit_, &QPushButton::clicked, this, [this] {
        app_.EditProfile();
        Refill();
    });
    connect(delete_, &QPushButton::clicked, this, [this] {
        app_.DeleteProfile();
        Refill();
    });
    connect(use_, &QPushButton::clicked, this, [this] {
        app_.UseSelectedProfile();
        done(QDialog::Accepted);
    });
    connect(close_, &QPushButton::clicked, this, &ProfilesDialog::TryClose);
    Refill();
}

void ProfilesDialog::Refill() {
    const QSignalBlocker block(list_);
    list_->clear();
    for (const std::string& entry : profiles_.Entries()) list_->addItem(QString::fromStdString(entry));
    list_->setCurrentRow(profiles_.Selection());
    const bool editable = profiles_.ButtonsEnabled();
    add_->setEnabled(editable);
    edit_->setEnabled(editable);
    delete_->setEnabled(editable);
}

void ProfilesDialog::TryClose() {
    if (profiles_.Close(app_.state().paths, app_.frontEnd())) done(QDialog::Rejected);
}

void ProfilesDialog::reject() { TryClose(); }

void ProfilesDialog::closeEvent(QCloseEvent* event) {
    event->ignore();
    TryClose();
}

}  // namespace kestrune::ui
