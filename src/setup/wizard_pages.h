// The wizard's page sequence, kept apart from its window: which settings pages are offered
// and where Next and Back lead from each.
#pragma once

#include <cstdint>
#include <string>

#include "jjstring.h"

enum class WizardPage {
    None = 0,
    Welcome = 1,
    Licence = 2,
    Information = 3,
    Method = 4,
    Shortcuts = 5,
    Start = 6
};

// What decides whether a page is offered. Welcome and Start always are.
struct PageAvailability {
    bool licence = false;     // the licence box holds a line
    bool information = false; // the readme box holds a line
    bool method = false;      // the first folder choice can be taken
    bool shortcuts = false;   // at least one of the three shortcut boxes is enabled

    bool Offers(WizardPage page) const;
};

// Next from a settings page: the first offered page after it. Start has no next page
// (its Next starts the installation): None.
WizardPage PageAfter(WizardPage page, const PageAvailability& offered);
// Back: the last offered page before it; Welcome from Welcome and from anything else.
WizardPage PageBefore(WizardPage page, const PageAvailability& offered);

// Shown (after the folder) when the installation folder is not a full path.
extern const char* const NotFullPathMessage;

// A text file for a read-only box: CP932 as written, every line break as CR LF; empty
// when the file cannot be read.
std::wstring TextForBox(const std::wstring& file);

// The free space of a drive as the method page shows it, in KB with thousands separators
// and no decimals ("1,234,567"); a drive that cannot be queried shows -1.
std::wstring FreeSpaceText(std::int64_t freeBytes);
// The free bytes of the drive the folder field names (its first character); an empty field
// asks about the current drive. -1 when the drive cannot be queried.
std::int64_t FreeSpaceOfField(const std::wstring& field);
