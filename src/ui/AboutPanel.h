#pragma once
// The About tab: what the program is, and buttons to the maker's web site and the help file.

#include <QWidget>

#include "app/Prompts.h"

namespace kestrune {
struct MainState;
}

namespace kestrune::ui {

class AboutPanel final : public QWidget {
    Q_OBJECT
public:
    AboutPanel(MainState& state, Prompts& prompts, QWidget* parent = nullptr);
};

}  // namespace kestrune::ui
