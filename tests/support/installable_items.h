// The installable-option items of a device tree in the emulated driver, as
// the detection tests read, preset and drive them.
#pragma once

#include "drvhost_api.h"

#include <map>
#include <string>

namespace zdtest {

using Selections = std::map<std::string, LONG>;

inline const char* const kInstallableKeywords[] = {
    "ZDHDD",      "ZDOptionDuplex", "ZDOptionTray", "InstalledMemory",
    "ZDFinisher", "ZDOptionMPF",    "ZDPunchUnit"};

// The selection of each item, by feature keyword.
inline Selections InstallableSelections(drvhost::HostSession& session) {
    Selections s;
    for (const char* k : kInstallableKeywords)
        s[k] = session.ItemSel(k);
    return s;
}

// Every item at its last option, a selection the detection would not give,
// so that a detection that writes nothing is seen. False when an item is
// missing.
inline bool ScrambleInstallable(drvhost::HostSession& session) {
    for (const char* k : kInstallableKeywords) {
        OPTITEM* item = session.Item(k);
        if (!item || !item->pOptType)
            return false;
        item->Sel = LONG(item->pOptType->Count) - 1;
    }
    return true;
}

// The plug-in's tree callback for its first item (the auto-detect item).
inline LONG AutoDetectCallback(OEMCUIPPARAM& tree, LONG reason) {
    CPSUICBPARAM cb = {};
    cb.cbSize = sizeof(cb);
    cb.Reason = WORD(reason);
    cb.pCurItem = &tree.pOEMOptItems[0];
    return tree.OEMCUIPCallback(&cb, &tree);
}

} // namespace zdtest
