#include "TestSupport.h"

#include "services/Company.h"
#include "services/KeyValue2.h"
#include "services/Operator.h"
#include "services/PickListSet.h"
#include "services/ProjectObjects.h"

TEST(ProjectObjectsTest, CreatedWithoutTouchingTheDatabase)
{
    TTestEnv env;
    const qint64 before = gDatabase->StatementCount();
    CreateProjectObjects();
    EXPECT_EQ(gDatabase->StatementCount(), before);
    ASSERT_TRUE(gCompany && gKeyValues && gPickLists && gOperator);
    EXPECT_TRUE(gOperator->LoginId.isEmpty());
    EXPECT_EQ(gCompany->Id, 0);
    EXPECT_FALSE(gKeyValues->DataSet()->Active());
    FreeProjectObjects();
    EXPECT_FALSE(gCompany || gKeyValues || gPickLists || gOperator);
}
