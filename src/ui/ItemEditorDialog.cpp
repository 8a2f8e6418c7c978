#include "ui/ItemEditorDialog.h"

#include <algorithm>

#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include "app/CommandLine.h"
#include "app/MainState.h"
#include "app/Text.h"
#include "ui/IconStore.h"
#include "ui/ProcessChooser.h"

namespace kestrune::ui {

namespace {

constexpr const char* kProgramsFilter = "Programs and shortcuts (*.exe *.com *.bat *.cmd *.lnk);;All files (*)";
constexpr const char* kBrowseTip = "Choose a file";
constexpr const char* kProcessTip = "Choose from the running processes";

}  // namespace

ItemEditorDialog::ItemEditorDialog(ItemEditorState& editor, std::function<EditorField()> confirm, MainState& state,
                                   Prompts& prompts, QWidget* parent)
    : QDialog(parent), editor_(editor), confirm_(std::move(confirm)), state_(state), prompts_(prompts) {
    setObjectName("frmEdit");
    setWindowTitle(QString::fromStdString(editor.caption));
    setWindowIcon(IconStore::AppIcon());

    auto* grid = new QGridLayout(this);
    grid->setColumnStretch(1, 1);

    name_ = new QLineEdit(QString::fromStdString(editor.name), this);
    name_->setObjectName("txtName");
    grid->addWidget(new QLabel("&Name:", this), 0, 0);
    grid->addWidget(name_, 0, 1, 1, 3);
    qobject_cast<QLabel*>(grid->itemAtPosition(0, 0)->widget())->setBuddy(name_);

    path_ = new QLineEdit(QString::fromStdString(editor.path), this);
    path_->setObjectName("txtPath");
    path_->setMinimumWidth(400);
    auto* pathLabel = new QLabel("&Path:", this);
    pathLabel->setBuddy(path_);
    auto* browse = new QToolButton(this);
    browse->setObjectName("cmdBrowse");
    browse->setText("...");
    browse->setToolTip(kBrowseTip);
    auto* processes = new QToolButton(this);
    processes->setObjectName("cmdProcesses");
    processes->setIcon(style()->standardIcon(QStyle::SP_ComputerIcon));
    processes->setToolTip(kProcessTip);
    connect(browse, &QToolButton::clicked, this, &ItemEditorDialog::ChooseFile);
    connect(processes, &QToolButton::clicked, this, &ItemEditorDialog::ChooseProcess);
    grid->addWidget(pathLabel, 1, 0);
    grid->addWidget(path_, 1, 1);
    grid->addWidget(browse, 1, 2);
    grid->addWidget(processes, 1, 3);

    delay_ = new QLineEdit(QString::fromStdString(editor.delay), this);
    delay_->setObjectName("txtDelay");
    delay_->setValidator(new QIntValidator(-86400, 86400, delay_));
    delay_->setMaximumWidth(90);
    delayLabel_ = new QLabel("&Delay (seconds):", this);
    delayLabel_->setObjectName("lblDelay");
    delayLabel_->setBuddy(delay_);
    grid->addWidget(delayLabel_, 2, 0);
    grid->addWidget(delay_, 2, 1, Qt::AlignLeft);

    priority_ = new QComboBox(this);
    priority_->setObjectName("cboPriority");
    for (const char* text : kEditorPriorities) priority_->addItem(text);
    priority_->setMinimumWidth(140);
    for (int i = 0; i < priority_->count(); ++i) {
        if (EqualsIgnoreCase(priority_->itemText(i).toStdString(), editor.priority)) priority_->setCurrentIndex(i);
    }
    priorityLabel_ = new QLabel("P&riority:", this);
    priorityLabel_->setObjectName("lblPriority");
    priorityLabel_->setBuddy(priority_);
    grid->addWidget(priorityLabel_, 3, 0);
    grid->addWidget(priority_, 3, 1, Qt::AlignLeft);

    delay_->setVisible(editor.showDelay);
    delayLabel_->setVisible(editor.showDelay);
    priority_->setVisible(editor.showPriority);
    priorityLabel_->setVisible(editor.showPriority);
    priority_->setEnabled(editor.priorityEnabled || editor.showPriority);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    ok_ = new QPushButton("OK", this);
    ok_->setObjectName("cmdOK");
    ok_->setDefault(true);
    cancel_ = new QPushButton("Cancel", this);
    cancel_->setObjectName("cmdCancel");
    connect(ok_, &QPushButton::clicked, this, &ItemEditorDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &ItemEditorDialog::reject);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    grid->addLayout(buttons, 4, 0, 1, 4);
    // Wider, not taller: long paths are the norm here.
    setFixedHeight(sizeHint().height());
    resize(std::max(sizeHint().width(), 560), sizeHint().height());
}

void ItemEditorDialog::StoreFields() {
    editor_.name = name_->text().toStdString();
    editor_.path = path_->text().toStdString();
    editor_.delay = delay_->text().toStdString();
    editor_.priority = priority_->currentText().toStdString();
}

void ItemEditorDialog::accept() {
    StoreFields();
    switch (confirm_()) {
        case EditorField::None: QDialog::accept(); break;
        case EditorField::Name: name_->setFocus(); break;
        case EditorField::Path: path_->setFocus(); break;
    }
}

namespace {

// The folder the program of a command line lies in, when it exists: the file chooser opens
// there rather than wherever Kestrune was started.
std::string ProgramFolderOf(MainState& state, const std::string& command) {
    const std::string file = state.rowFiles().ResolveItemFile(command);
    if (file.empty()) return {};
    auto& files = state.services.platform.files();
    if (files.DirectoryExists(file)) return file;
    const std::string folder = file.substr(0, file.size() - FileNameOf(file).size());
    return !folder.empty() && files.DirectoryExists(folder) ? folder : std::string{};
}

}  // namespace

void ItemEditorDialog::ChooseFile() {
    const std::string file =
        prompts_.ChooseFile(kProgramsFilter, ProgramFolderOf(state_, path_->text().trimmed().toStdString()));
    if (file.empty()) return;
    path_->setText(QString::fromStdString(file));
    if (name_->text().isEmpty()) name_->setText(QFileInfo(QString::fromStdString(file)).completeBaseName());
}

void ItemEditorDialog::ChooseProcess() {
    ProcessChooser chooser(state_.services.platform.processes().List(), this);
    if (chooser.exec() != QDialog::Accepted) return;
    const auto chosen = chooser.Chosen();
    if (!chosen) return;
    const std::string path = editor_.fullExeName && !chosen->path.empty() ? chosen->path : chosen->name;
    path_->setText(QString::fromStdString(path));
    if (name_->text().isEmpty()) name_->setText(QFileInfo(QString::fromStdString(chosen->name)).completeBaseName());
}

}  // namespace kestrune::ui
