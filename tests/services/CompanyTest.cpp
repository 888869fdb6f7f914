#include "ServicesFixture.h"

#include "data/Exceptions.h"
#include "services/Company.h"

#include <deque>

using namespace Qt::StringLiterals;

namespace {

class CompanyTest : public ServicesTest
{
};

// Each showing takes the next scripted answer; the typed values are those of the entry.
class FakeCompanyDialog final : public TCompanyDialog
{
public:
    struct Entry
    {
        bool ok;
        RCompanyInfo typed;
    };
    std::deque<Entry> script;
    bool readOnly = false;
    RCompanyInfo shownInfo;
    int shown = 0;

    void SetReadOnly(bool ro) override { readOnly = ro; }
    void SetInfo(const RCompanyInfo& info) override { shownInfo = info; }
    RCompanyInfo Info() const override { return m_typed; }
    bool Execute() override
    {
        ++shown;
        if (script.empty())
            return false;
        const Entry e = script.front();
        script.pop_front();
        m_typed = e.typed;
        // A read-only dialog has no enabled OK button.
        return e.ok && !readOnly;
    }

private:
    RCompanyInfo m_typed;
};

RCompanyInfo info(const QString& name)
{
    return {name, u"王经理"_s, u"010-1"_s, u"010-2"_s, u"北京"_s, u"100000"_s, u"第一行\r\n第二行"_s};
}

} // namespace

TEST(CompanyNameTest, NameCountsChineseCharactersAsTwoBytes)
{
    const struct
    {
        const char16_t* name;
        bool has;
    } cases[] = {{u"", false},        {u"ABCDEFG", false}, {u"ABCDEFGH", true}, {u"澄舟厂", false},
                 {u"澄舟机械", true}, {u"澄舟A", false},   {u"澄舟厂AB", true}, {u"澄舟厂A", false}};
    TCompany c;
    for (const auto& k : cases) {
        c.CompanyName = QString::fromUtf16(k.name);
        EXPECT_EQ(c.HasCompanyName(), k.has) << c.CompanyName.toStdString();
    }
    EXPECT_EQ(AnsiByteLength(u"澄舟AB"_s), 6);
}

TEST_P(CompanyTest, SaveInsertsIdZeroThenUpdatesTheSameRow)
{
    gCompany->LoadCompany();
    EXPECT_EQ(gCompany->Id, 0);
    EXPECT_TRUE(gCompany->CompanyName.isEmpty());
    EXPECT_FALSE(gCompany->CompanyExists());

    gCompany->SetInfo(info(u"澄舟机械厂"_s));
    gCompany->SaveCompany();
    EXPECT_EQ(count(u"from Company where Id=0"_s), 1);

    gCompany->Tel = u"020-9"_s;
    gCompany->Updated = true;
    gCompany->SaveCompany();
    EXPECT_EQ(count(u"from Company"_s), 1);

    TCompany loaded;
    loaded.LoadCompany();
    EXPECT_EQ(loaded.CompanyName, u"澄舟机械厂"_s);
    EXPECT_EQ(loaded.Manager, u"王经理"_s);
    EXPECT_EQ(loaded.Tel, u"020-9"_s);
    EXPECT_EQ(loaded.Profile, u"第一行\r\n第二行"_s);
    EXPECT_TRUE(loaded.Updated);
    EXPECT_TRUE(loaded.HasCompanyName());
}

TEST_P(CompanyTest, EditShowsErrorReloadsAndShowsAgain)
{
    gCompany->SetInfo(info(u"旧名称有限公司"_s));
    gCompany->SaveCompany();

    FakeCompanyDialog dlg;
    // The name is longer than its column: refused, reloaded, shown again; then corrected.
    dlg.script = {{true, info(QString(101, u'长'))}, {true, info(u"新名称有限公司"_s)}};
    gCompany->CompanyName = u"内存里的名称"_s;
    gCompany->LoadCompany();
    EXPECT_TRUE(gCompany->EditCompany(dlg, false));
    EXPECT_EQ(dlg.shownInfo.CompanyName, u"旧名称有限公司"_s);
    EXPECT_EQ(dlg.shownInfo.Lawman, u"王经理"_s);
    EXPECT_EQ(dlg.shown, 2);
    ASSERT_EQ(messages().messages.size(), 1u);
    EXPECT_TRUE(messages().lastText().contains(u"update Company set CompanyName=:CompanyName"_s));
    EXPECT_EQ(gCompany->CompanyName, u"新名称有限公司"_s);
    EXPECT_EQ(scalar(u"select CompanyName from Company"_s).toString(), u"新名称有限公司"_s);

    // A refused save followed by Cancel leaves the stored values in the object.
    dlg.script = {{true, info(QString(101, u'长'))}};
    EXPECT_FALSE(gCompany->EditCompany(dlg, false));
    EXPECT_EQ(gCompany->CompanyName, u"新名称有限公司"_s);

    // Read-only: nothing can be saved.
    dlg.script = {{true, info(u"不该保存的名称"_s)}};
    EXPECT_FALSE(gCompany->EditCompany(dlg, true));
    EXPECT_TRUE(dlg.readOnly);
    EXPECT_EQ(scalar(u"select CompanyName from Company"_s).toString(), u"新名称有限公司"_s);
    EXPECT_EQ(gCompany->CompanyName, u"新名称有限公司"_s);
}

CZ_INSTANTIATE_ENGINES(CompanyTest);
