#pragma once
// One table's list. An empty list is not left blank: it says what the place is and how to add
// to it, or, while a filter hides every row, that nothing matches.

#include <QTableView>

namespace kestrune::ui {

class ListView final : public QTableView {
    Q_OBJECT
public:
    using QTableView::QTableView;

    void SetPlaceholder(const QString& text);
    const QString& Placeholder() const { return placeholder_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString placeholder_;
};

}  // namespace kestrune::ui
