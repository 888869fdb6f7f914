#include "Company.h"

#include "EditLoop.h"

#include "data/Database.h"
#include "data/RecordSet.h"

TCompany* gCompany = nullptr;

int AnsiByteLength(const QString& text)
{
    int bytes = 0;
    for (const QChar c : text)
        bytes += c.unicode() < 0x80 ? 1 : 2; // a surrogate pair counts 4
    return bytes;
}

void TCompany::LoadCompany()
{
    gRecordSet->OpenSql(QStringLiteral("select * from Company"));
    TDataSet* ds = gRecordSet->DataSet();
    ds->First();
    auto str = [ds](const char* name) {
        const TField* f = ds->FindField(QLatin1String(name));
        return f && !ds->IsEmpty() ? f->AsString() : QString();
    };
    const TField* id = ds->FindField(QStringLiteral("Id"));
    const TField* updated = ds->FindField(QStringLiteral("Updated"));
    Id = id && !ds->IsEmpty() ? id->AsInteger() : 0;
    CompanyName = str("CompanyName");
    Manager = str("Manager");
    Tel = str("Tel");
    Fax = str("Fax");
    Address = str("Address");
    Zip = str("Zip");
    Profile = str("Profile");
    Updated = updated && !ds->IsEmpty() && updated->AsBoolean();
    ds->Close();
}

bool TCompany::CompanyExists()
{
    const int n = gRecordSet->OpenSql(QStringLiteral("select 1 from Company where Id=:Id"),
                                      {DBParam(QStringLiteral("Id"), Id)});
    gRecordSet->DataSet()->Close();
    return n == 1;
}

void TCompany::SaveCompany()
{
    auto text = [](const QString& s) { return s.isNull() ? QStringLiteral("") : s; };
    const TDBParameters params{DBParam(QStringLiteral("CompanyName"), text(CompanyName)),
                               DBParam(QStringLiteral("Manager"), text(Manager)),
                               DBParam(QStringLiteral("Tel"), text(Tel)),
                               DBParam(QStringLiteral("Fax"), text(Fax)),
                               DBParam(QStringLiteral("Address"), text(Address)),
                               DBParam(QStringLiteral("Zip"), text(Zip)),
                               DBParam(QStringLiteral("Profile"), text(Profile)),
                               DBParam(QStringLiteral("Updated"), Updated),
                               DBParam(QStringLiteral("Id"), Id)};
    if (CompanyExists())
        gDatabase->Execute(
            QStringLiteral("update Company set CompanyName=:CompanyName,Manager=:Manager,Tel=:Tel,Fax=:"
                           "Fax,Address=:Address,Zip=:Zip,Profile=:Profile,Updated=:Updated where "
                           "Id=:Id"),
            params);
    else
        gDatabase->Execute(
            QStringLiteral(
                "insert into Company(Id, CompanyName, Manager, Tel, Fax, Address, Zip, Profile, "
                "Updated)values(:Id, :CompanyName, :Manager, :Tel, :Fax, :Address, :Zip, :Profile, "
                ":Updated)"),
            params);
}

bool TCompany::HasCompanyName() const
{
    return AnsiByteLength(CompanyName) > 7;
}

RCompanyInfo TCompany::Info() const
{
    return {CompanyName, Manager, Tel, Fax, Address, Zip, Profile};
}

void TCompany::SetInfo(const RCompanyInfo& info)
{
    CompanyName = info.CompanyName;
    Manager = info.Lawman;
    Tel = info.Tel;
    Fax = info.Fax;
    Address = info.Address;
    Zip = info.Zip;
    Profile = info.Profile;
}

bool TCompany::EditCompany(TCompanyDialog& dialog, bool readOnly)
{
    dialog.SetReadOnly(readOnly);
    dialog.SetInfo(Info());
    return RunEditLoop([&] { return dialog.Execute() && !readOnly; },
                       [&] {
                           SetInfo(dialog.Info());
                           SaveCompany();
                       },
                       // Back to the stored values; the dialog keeps what the user typed.
                       [&] { LoadCompany(); });
}
