#include "ui/MonitorDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
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
    auto* buttons = new QDialogButtonBox(this);
    allow_ = buttons->addButton(kAllowCaption, QDialogButtonBox::AcceptRole);
    allow_->setObjectName("cmdAllow");
    remove_ = buttons->addButton(kRemoveCaption, QDialogButtonBox::DestructiveRole);
    remove_->setObjectName("cmdRemove");
    for (QPushButton* button : {allow_, remove_}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    connect(allow_, &QPushButton::clicked, this, [this] { Choose(Choice::Allow); });
    connect(remove_, &QPushButton::clicked, this, [this] { Choose(Choice::Remove); });
    bottom->addWidget(buttons);
    layout->addLayout(bottom);
    // Keys go to the focused child; each one is looked at before it acts.
    for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);
    text_->setFocus();
}

bool MonitorDialog::Remember() const { return remember_->isChecked(); }

void MonitorDialog::Choose(Choice choice) {
    chosen_ = choice;
    done(choice == Choice::Allow ? QDialog::Accepted : QDialog::Rejected);
}

void MonitorDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    shown_.start();
}

void MonitorDialog::keyPressEvent(QKeyEvent* event) {
    // QDialog would take Esc for a rejection and Enter for its default button.
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool MonitorDialog::eventFilter(QObject* watched, QEvent* event) {
    const bool key = event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease ||
                     event->type() == QEvent::ShortcutOverride;
    // A key typed before the dialog came up, or just as it did, was meant for something else.
    if (key && (!shown_.isValid() || shown_.elapsed() < kKeyGuardMilliseconds)) return true;
    return QDialog::eventFilter(watched, event);
}

}  // namespace kestrune::ui
