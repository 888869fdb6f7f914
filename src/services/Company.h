#pragma once

#include <QString>

// What the company dialog shows and returns ("Lawman" is the person in charge).
struct RCompanyInfo
{
    QString CompanyName;
    QString Lawman;
    QString Tel;
    QString Fax;
    QString Address;
    QString Zip;
    QString Profile;
};

// The company dialog as EditCompany drives it.
class TCompanyDialog
{
public:
    virtual ~TCompanyDialog() = default;
    // Read-only: the OK button is disabled, only Cancel closes.
    virtual void SetReadOnly(bool readOnly) = 0;
    virtual void SetInfo(const RCompanyInfo& info) = 0;
    virtual RCompanyInfo Info() const = 0;
    // Shows the dialog modally; true when closed with OK.
    virtual bool Execute() = 0;
};

// The user's company data (first row of table Company), shown in printouts and asked for
// at start-up while the name is missing. Created without touching the database.
class TCompany
{
public:
    int Id = 0;
    QString CompanyName;
    QString Manager;
    QString Tel;
    QString Fax;
    QString Address;
    QString Zip;
    QString Profile;
    bool Updated = false;

    // Copies the first row of table Company; an empty table gives zero and empty values.
    void LoadCompany();
    bool CompanyExists();
    // Updates the row of Id, or inserts it when there is none.
    void SaveCompany();
    // True when the name is at least 8 bytes long, counting a Chinese character as 2 bytes.
    bool HasCompanyName() const;
    // The editing loop over the dialog; returns true when saved.
    bool EditCompany(TCompanyDialog& dialog, bool readOnly);

    RCompanyInfo Info() const;
    void SetInfo(const RCompanyInfo& info);
};

// The name's length in the bytes of the Chinese code page: 1 for ASCII, 2 for a Chinese
// character (4 for a character outside the basic plane).
int AnsiByteLength(const QString& text);

extern TCompany* gCompany;
