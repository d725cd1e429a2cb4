#pragma once
#include "core/SWindowMgr.h"
#include "core/SMap.h"
#include "core/SSingleton.h"
#include "core/TStringT.h"

namespace WUI {

// The search a finder result is remembered under.
struct SFindKey {
    SWND parent;
    bool byName;
    SStringW name; // searches by name
    int id;        // searches by id
    int depth;
};

// Whole keys are compared: equal hashes alone never make two searches the same.
struct SFindKeyTraits {
    static UINT Hash(const SFindKey &k);
    static bool Equal(const SFindKey &a, const SFindKey &b);
};

// Remembers where find-child searches found their element, by handle.
class SWindowFinder : public SSingleton<SWindowFinder> {
public:
    // The parent's search result (null when none matches or parent is null); a
    // remembered element is used only while it still matches, and a miss is
    // searched again next time.
    SWindow *FindChildByID(SWindow *parent, int id, int depth);
    SWindow *FindChildByName(SWindow *parent, LPCWSTR name, int depth);

private:
    SWindow *Find(SWindow *parent, const SFindKey &key);
    static bool StillMatches(SWindow *parent, SWindow *found, const SFindKey &key);

    SMap<SFindKey, SWND, SFindKeyTraits> m_cache;
};

} // namespace WUI
