#include "ui/ListTexts.h"

namespace kestrune::ui {

namespace {
constexpr const char* kAddOne = "\n\nRight-click here and choose New item (Ctrl+N) to add one.";
}

QString EmptyTableText(TableKind kind) {
    switch (kind) {
        case TableKind::UserStartup:
            return QString("No shortcuts start from your own Startup folder (User).") + kAddOne;
        case TableKind::CommonStartup:
            return QString("No shortcuts start from the Startup folder of all users (Common).") + kAddOne;
        case TableKind::HKLM_Run:
            return QString("No programs start from the Run key of this machine (HKLM Run).") + kAddOne;
        case TableKind::HKCU_Run: return QString("No programs start from your own Run key (HKCU Run).") + kAddOne;
        case TableKind::RunOnce:
            return QString("Nothing is set to run once at the next start of Windows (Run Once).") + kAddOne;
        case TableKind::Delayed:
            return QString::fromUtf8(
                "No delayed applications. Kestrune starts these itself, some seconds after Windows, "
                "or once the processor is idle.\n\nRight-click here and choose New item (Ctrl+N), or move "
                "an entry of another table here with Move to > Delayed.");
        case TableKind::Deleted:
            return QString::fromUtf8(
                "No deleted entries. What you delete from the other tables is kept here, and Move to "
                "brings it back.");
        case TableKind::Known:
            return QString::fromUtf8(
                "No known applications. When \"Monitor changes\" asks about a new program and you "
                "tick \"Remember your decision\", your answer is kept here; Record setting adds entries too.");
        case TableKind::Process: return QString::fromUtf8("No processes listed. Press F5 to read them again.");
    }
    return {};
}

QString NoMatchText(const QString& filter) {
    return QString("No name or path here holds \"%1\".\n\nPress Esc in the filter box to show every row.").arg(filter);
}

QString ShownCount(int shown, int all) { return QString("%1 of %2 shown").arg(shown).arg(all); }

}  // namespace kestrune::ui
