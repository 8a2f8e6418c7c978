// The anchor of the start-up benchmark: the least a Qt Widgets program does to show ten tabs
// of 200 rows (three columns, check boxes in the first). Ends once the window has been shown
// and the event loop has run once.

#include <QApplication>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QTabWidget tabs;
    for (int t = 0; t < 10; ++t) {
        auto* model = new QStandardItemModel(200, 3, &tabs);
        for (int r = 0; r < 200; ++r) {
            auto* name = new QStandardItem(QStringLiteral("Entry %1").arg(r));
            name->setCheckable(true);
            name->setCheckState(Qt::Checked);
            model->setItem(r, 0, name);
            model->setItem(r, 1, new QStandardItem(QStringLiteral("C:\\Program Files\\App %1\\app.exe").arg(r)));
            model->setItem(r, 2, new QStandardItem(QStringLiteral("-min")));
        }
        auto* view = new QTableView;
        view->setModel(model);
        view->resizeColumnsToContents();
        tabs.addTab(view, QStringLiteral("Table %1").arg(t + 1));
    }
    tabs.resize(800, 600);
    tabs.show();
    QTimer::singleShot(0, &app, &QApplication::quit);
    return QApplication::exec();
}
