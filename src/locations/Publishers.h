#pragma once
// The publisher of each location row: the company its program file names in its version
// information. Reading it opens the file, so it is read after the tables are shown, a few rows
// at a time (as the row icons are), and once per file until the file changes.

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/RowFiles.h"
#include "app/TableKind.h"
#include "platform/FileSystem.h"
#include "platform/ProgramFiles.h"

namespace kestrune {

// The header of the column that the location lists show after their own (Table::PublisherColumn).
inline constexpr const char* kPublisherHeader = "Publisher";

class PublisherCache {
public:
    PublisherCache(platform::ProgramFiles& programs, platform::FileSystem& files)
        : programs_(programs), files_(files) {}

    // "" for a file that names no publisher or is not there.
    std::string PublisherOf(const std::string& file);
    // Program files whose version information has been read, counted once per reading.
    std::size_t FilesRead() const { return filesRead_; }

private:
    struct Seen {
        platform::FileStamp stamp;
        std::string publisher;
    };
    platform::ProgramFiles& programs_;
    platform::FileSystem& files_;
    std::size_t filesRead_ = 0;
    std::unordered_map<std::string, Seen> seen_;  // file path -> its publisher at that stamp
};

// Gives the rows `first` to `last` of a location table whose publisher has not been read the
// publisher of the file their entry names (other tables, and positions past the end, are
// skipped).
void ApplyRowPublishers(RowParts parts, PublisherCache& cache, TableKind kind, int first, int last);
// The same for every row of these tables, each command line looked for once.
void ApplyRowPublishers(RowParts parts, PublisherCache& cache, const std::vector<TableKind>& kinds);
// The same for every row of the five location tables.
void ApplyRowPublishers(RowParts parts, PublisherCache& cache);

}  // namespace kestrune
