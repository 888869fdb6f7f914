#pragma once

#include "data/RecordSet.h"

// The numbered text lists of table options ([Key], Label, List). Created without touching
// the database; the lists are read on first use.
class TPickListSet : public TRecordSet
{
public:
    TPickListSet();

    // Opens "select * from options order by [Key]" when forced or when the set is closed.
    void OpenPickLists(bool force = false);
    // Number of lists.
    int Count();
    // Makes sure at least n lists exist, adding empty lists under the next keys (max + 1,
    // max + 2, ...) in one transaction; never removes lists.
    void SetCount(int n);
};

extern TPickListSet* gPickLists;
