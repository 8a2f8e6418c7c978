#pragma once
// Where the pictures of row icons are kept: the front end's image list. The core only numbers
// them (IconCache); a front end that draws no icons says so, and no file is then read for one.

#include <string>

namespace kestrune {

class IconPictures {
public:
    virtual ~IconPictures() = default;
    // Extracts the file's first icon as picture `iconNumber`; false when it has none.
    virtual bool LoadFileIcon(const std::string& file, int iconNumber) = 0;
    // False for a front end that never draws row icons: the files behind them are then not
    // read at all, and every row keeps the default icon.
    virtual bool ShowsIcons() const { return true; }
};

}  // namespace kestrune
