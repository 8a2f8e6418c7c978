#include "GuiSession.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QTabBar>
#include <QTableView>
#include <QTest>

namespace kestrune::test {

GuiSession::GuiSession() {
    seam().active = true;
    seam().onUnexpected = [](const std::string& question) {
        QTest::qFail(("unexpected question: " + question).c_str(), __FILE__, __LINE__);
    };
    fe.Attach(app);
}

GuiSession::~GuiSession() {
    window().AllowClose();
    window().hide();
}

ui::MainWindow& GuiSession::window() { return fe.Window(); }

bool GuiSession::Start(const std::string& commandLine) {
    const bool started = app.Startup(commandLine);
    if (started) {
        fe.ShowAfterStartup();
        QApplication::processEvents();
    }
    return started;
}

void GuiSession::ClickTab(const QString& caption) {
    QTabBar* tabs = window().Tabs();
    for (int i = 0; i < tabs->count(); ++i) {
        // While a filter is typed a tab says how many rows match: "HKCU Run (2)".
        if (tabs->tabText(i) == caption || tabs->tabText(i).startsWith(caption + " (")) {
            QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(i).center());
            QApplication::processEvents();
            return;
        }
    }
    QTest::qFail(("no tab " + caption.toStdString()).c_str(), __FILE__, __LINE__);
}

QTableView* GuiSession::View(TableKind kind) { return window().View(kind); }

void GuiSession::ClickRow(TableKind kind, int position) {
    window().SyncTables();
    QTableView* view = View(kind);
    const QRect cell = view->visualRect(view->model()->index(position - 1, 1));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
}

QStringList GuiSession::RightClickMenu(TableKind kind) {
    QTableView* view = View(kind);
    QWidget* viewport = view->viewport();
    const QPoint at =
        view->model()->rowCount() > 0 ? view->visualRect(view->model()->index(0, 1)).center() : QPoint(10, 10);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, viewport->mapToGlobal(at));
    QApplication::sendEvent(viewport, &event);
    QMenu* menu = window().Menus().table;
    const QStringList texts = menu->isVisible() ? VisibleTexts(*menu) : QStringList{};
    menu->hide();
    return texts;
}

void GuiSession::ClickHeader(TableKind kind, int column) {
    QHeaderView* header = View(kind)->horizontalHeader();
    const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
}

void GuiSession::Reactivate() {
    QTRY_VERIFY(!QApplication::activePopupWidget());
    window().activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), &window());
}

QStringList VisibleTexts(const QMenu& menu) {
    QStringList texts;
    for (QAction* action : menu.actions()) {
        if (action->isVisible() && !action->isSeparator()) texts << ui::ShownCaption(*action);
    }
    return texts;
}

QStringList AllTexts(const QMenu& menu) {
    QStringList texts;
    for (QAction* action : menu.actions()) {
        if (!action->isSeparator()) texts << ui::ShownCaption(*action);
    }
    return texts;
}

QAction* ActionNamed(const QMenu& menu, const QString& text) {
    for (QAction* action : menu.actions()) {
        if (ui::ShownCaption(*action) == text) return action;
    }
    QTest::qFail(("no menu entry " + text.toStdString()).c_str(), __FILE__, __LINE__);
    return nullptr;
}

QStringList Column(const Table& table, int column) {
    QStringList texts;
    for (int row = 1; row <= table.Count(); ++row) texts << QString::fromStdString(table.Text(row, column));
    return texts;
}

}  // namespace kestrune::test
