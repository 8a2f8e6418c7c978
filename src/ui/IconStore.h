#pragma once
// The pictures of the program: its own icon, the rows' icons by number (1 is the default
// program icon), and the delayed-run window's state icons.

#include <map>
#include <string>
#include <string_view>

#include <QIcon>

namespace kestrune::ui {

class IconStore {
public:
    static QIcon AppIcon();
    // "ticked", "unticked" or "skip".
    static QIcon StateIcon(std::string_view name);

    QIcon RowIcon(int number) const;
    // Takes the file's icon as picture `number`; false when the file cannot be found.
    bool LoadFileIcon(const std::string& file, int number);

private:
    std::map<int, QIcon> icons_;
};

}  // namespace kestrune::ui
