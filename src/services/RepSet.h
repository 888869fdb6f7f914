#pragma once

#include "data/RecordSet.h"

// The templates of one report group, as the print chooser lists them.
class TRepSet : public TRecordSet
{
public:
    TRepSet();
    // "select Id,Title from report where GrpId=:GroupId order by Title"; returns the row count.
    int OpenGroup(int groupId);
};
