#pragma once
// The pictures of the program: its own icon, the rows' icons by number (1 is the default
// program icon), and the delayed-run window's state icons.

#include <map>
#include <string>
#include <string_view>

#include <QIcon>
#include <QImage>

#include "platform/ProgramFiles.h"

namespace kestrune::ui {

class IconStore {
public:
    static QIcon AppIcon();
    // "ticked", "unticked" or "skip".
    static QIcon StateIcon(std::string_view name);

    QIcon RowIcon(int number) const;
    // Takes the file's first icon as picture `number`; false when the file has none.
    bool LoadFileIcon(platform::ProgramFiles& programs, const std::string& file, int number);
    // Every size a picture holds (an .ico holds several); an empty icon when it is no picture.
    static QIcon IconOf(const platform::IconPicture& picture);

private:
    std::map<int, QIcon> icons_;
};

}  // namespace kestrune::ui
