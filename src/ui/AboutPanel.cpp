#include "ui/AboutPanel.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "app/MainState.h"
#include "app/Version.h"
#include "session/MainWindowRules.h"
#include "ui/IconStore.h"

namespace kestrune::ui {

namespace {

constexpr const char* kIntroText =
    "Kestrune shows every program that starts with Windows - from the two Startup folders and the "
    "Run and RunOnce keys of the registry - one table per place. Untick an entry to stop it starting; "
    "tick it again to bring it back.";
constexpr const char* kDelayedText =
    "Delayed applications are started by Kestrune itself a number of seconds after Windows has "
    "started, or - with a negative delay - once the processor has been idle long enough.";
constexpr const char* kMonitorText =
    "With \"Monitor changes\" on, Kestrune asks before a newly installed program may start with "
    "Windows, and keeps your answers in the Known table. Right-click any list for more.";
// One line for each tab and idea that its name alone does not explain.
constexpr const char* kTabLines[] = {
    "<b>Deleted</b> keeps what you delete from the other tables; Move to puts an entry back.",
    "<b>Known</b> holds your answers to the change monitor: ticked programs may start, unticked ones are "
    "removed again whenever they register.",
    "<b>Processes</b> lists running programs; give one a priority and tick it to have it applied.",
    "<b>Profiles</b> are separate sets of these tables, for instance one for work and one for games; "
    "switch between them in the Profiles menu.",
};
constexpr const char* kKeysLine =
    "Keys: Space tick or untick, F5 refresh, Ctrl+F filter, Ctrl+N new, F2 or Enter edit, Del delete, "
    "Ctrl+Tab next tab, Alt or F10 the menus, the context-menu key the row menu.";
constexpr const char* kWebsiteCaption = "Visit the &website";
constexpr const char* kContactCaption = "&Contact form";
constexpr const char* kDonateCaption = "&Donate";

QLabel* Paragraph(const char* text, QWidget* parent) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setWordWrap(true);
    return label;
}

}  // namespace

AboutPanel::AboutPanel(MainState& state, Prompts& prompts, QWidget* parent) : QWidget(parent) {
    setObjectName("fraAbout");
    // On a small screen at a high scale the texts scroll rather than push the window past it;
    // the buttons stay below them, in sight without scrolling.
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 14);
    outer->setSpacing(10);
    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto* content = new QWidget(scroll);
    scroll->setWidget(content);
    outer->addWidget(scroll);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(18, 14, 18, 0);
    layout->setSpacing(10);

    auto* heading = new QHBoxLayout;
    auto* logo = new QLabel(this);
    logo->setPixmap(IconStore::AppIcon().pixmap(48, 48));
    heading->addWidget(logo);
    auto* title = new QLabel(QString("<b style='font-size:15pt'>%1</b><br>version %2.%3.%4")
                                 .arg(kTitle)
                                 .arg(kVersionMajor)
                                 .arg(kVersionMinor)
                                 .arg(kVersionRevision),
                             this);
    heading->addWidget(title, 1);
    layout->addLayout(heading);

    layout->addWidget(Paragraph(kIntroText, this));
    layout->addWidget(Paragraph(kDelayedText, this));
    layout->addWidget(Paragraph(kMonitorText, this));
    auto* tabLines = new QVBoxLayout;
    tabLines->setSpacing(2);
    for (const char* line : kTabLines) tabLines->addWidget(Paragraph(line, this));
    layout->addLayout(tabLines);
    layout->addWidget(Paragraph(kKeysLine, this));
    layout->addStretch(1);

    auto* buttons = new QHBoxLayout;
    auto open = [&state](std::string target) {
        return [&state, target = std::move(target)] { state.services.platform.shell().OpenDocument(target); };
    };
    auto button = [this, buttons](const char* caption, const char* name, auto onClick) {
        auto* b = new QPushButton(QString::fromUtf8(caption), this);
        b->setObjectName(name);
        // Some styles (Windows' own, at a high scale) give a button no room beside its text.
        const QFontMetrics metrics = b->fontMetrics();
        b->setMinimumWidth(metrics.horizontalAdvance(QString::fromUtf8(caption).remove('&')) +
                           4 * metrics.averageCharWidth());
        connect(b, &QPushButton::clicked, this, onClick);
        buttons->addWidget(b);
    };
    button(kWebsiteCaption, "cmdWebsite", open(kMakerSiteUrl));
    button(kContactCaption, "cmdContactForm", open(std::string(kMakerSiteUrl) + std::string(kContactQuery)));
    button(kDonateCaption, "cmdDonate", open(std::string(kMakerSiteUrl) + std::string(kDonateQuery)));
    buttons->addStretch(1);
    button(std::string(caption::ShowHelp).c_str(), "cmdHelp", [&state, &prompts] {
        const std::string help = state.paths.appFolder + std::string(kMakerHelpFile);
        if (!state.services.FileExists(help) || !state.services.platform.shell().OpenDocument(help))
            prompts.ShowMessage("The help file could not be opened: " + help, MessageIcon::Exclamation);
    });
    buttons->setContentsMargins(18, 0, 18, 0);
    outer->addLayout(buttons);
}

}  // namespace kestrune::ui
