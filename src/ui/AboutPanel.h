#pragma once
// The About tab: what the program is, and buttons to the maker's web site and the help file.

#include <QWidget>

namespace kestrune {
struct MainState;
}

namespace kestrune::ui {

class AboutPanel final : public QWidget {
    Q_OBJECT
public:
    AboutPanel(MainState& state, QWidget* parent = nullptr);
};

}  // namespace kestrune::ui
