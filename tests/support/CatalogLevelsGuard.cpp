#include "tests/support/CatalogLevelsGuard.h"

#include <cstdlib>

CCatalogLevelsGuard::CCatalogLevelsGuard() {
    for (int i = 0; i < CChordCatalog::kSize; ++i)
        m_saved[static_cast<std::size_t>(i)] = theChordCatalog.GetAt(i).GetDifficulty();
    theChordCatalog.ResetAll();
}

CCatalogLevelsGuard::~CCatalogLevelsGuard() {
    for (int i = 0; i < CChordCatalog::kSize; ++i)
        theChordCatalog.GetAt(i).SetDifficulty(m_saved[static_cast<std::size_t>(i)]);
}

void CCatalogLevelsGuard::SetLevel(const char* name, int level) {
    CChord* chord = theChordCatalog.Find(name);
    if (!chord)
        std::abort(); // a typo in a test, not a result
    chord->SetDifficulty(level);
}

void CCatalogLevelsGuard::SetAllLevels(int level) {
    for (int i = 0; i < CChordCatalog::kSize; ++i)
        theChordCatalog.GetAt(i).SetDifficulty(level);
}
