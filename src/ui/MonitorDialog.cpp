#include "ui/MonitorDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QStyle>
#include <QVBoxLayout>

#include "ui/IconStore.h"

namespace kestrune::ui {

MonitorDialog::MonitorDialog(const QString& message, const QStringList& newEntries, QWidget* parent) : QDialog(parent) {
    setObjectName("frmMonitor");
    setWindowTitle(kMonitorCaption);
    setWindowIcon(IconStore::AppIcon());
    setModal(true);
    resize(520, 260);

    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(32, 32));
    icon->setAlignment(Qt::AlignTop);
    top->addWidget(icon);
    text_ = new QPlainTextEdit(this);
    text_->setObjectName("txtMsg");
    text_->setReadOnly(true);
    // The core separates lines with "\r\n"; a lone "\r" would show as an odd character.
    text_->setPlainText(QString(message).replace("\r\n", "\n"));
    auto* texts = new QVBoxLayout;
    texts->addWidget(text_, 1);
    places_ = new QListWidget(this);
    places_->setObjectName("lstNewEntries");
    places_->addItems(newEntries);
    places_->setVisible(!newEntries.isEmpty());
    texts->addWidget(places_, 1);
    top->addLayout(texts, 1);
    layout->addLayout(top, 1);

    auto* bottom = new QHBoxLayout;
    remember_ = new QCheckBox(kRememberCaption, this);
    remember_->setObjectName("chkRemember");
    bottom->addWidget(remember_);
    bottom->addStretch(1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    bottom->addWidget(buttons);
    layout->addLayout(bottom);
}

bool MonitorDialog::Remember() const { return remember_->isChecked(); }

}  // namespace kestrune::ui
