#pragma once

#include "services/Company.h"
#include "shell/ui/ADlgFrm.h"

class QLineEdit;
class QPlainTextEdit;

// "公司信息": name, person in charge, telephone, fax, address, postcode and profile. No field
// is required; read-only mode disables OK so that only Cancel closes it.
class TCompanyInfoFrm : public TADlgFrm, public TCompanyDialog
{
    Q_OBJECT
    Q_PROPERTY(QString CompanyName READ CompanyName WRITE SetCompanyName)
    Q_PROPERTY(QString Lawman READ Lawman WRITE SetLawman)
    Q_PROPERTY(QString Tel READ Tel WRITE SetTel)
    Q_PROPERTY(QString Fax READ Fax WRITE SetFax)
    Q_PROPERTY(QString Address READ Address WRITE SetAddress)
    Q_PROPERTY(QString Zip READ Zip WRITE SetZip)
    Q_PROPERTY(QString Profile READ Profile WRITE SetProfile)

public:
    explicit TCompanyInfoFrm(QWidget* parent = nullptr);

    void SetReadOnly(bool readOnly) override;
    void SetInfo(const RCompanyInfo& info) override;
    RCompanyInfo Info() const override;
    bool Execute() override;

    QString CompanyName() const;
    void SetCompanyName(const QString& v);
    QString Lawman() const;
    void SetLawman(const QString& v);
    QString Tel() const;
    void SetTel(const QString& v);
    QString Fax() const;
    void SetFax(const QString& v);
    QString Address() const;
    void SetAddress(const QString& v);
    QString Zip() const;
    void SetZip(const QString& v);
    QString Profile() const;
    void SetProfile(const QString& v);

private:
    QLineEdit* m_name = nullptr;
    QLineEdit* m_lawman = nullptr;
    QLineEdit* m_tel = nullptr;
    QLineEdit* m_fax = nullptr;
    QLineEdit* m_address = nullptr;
    QLineEdit* m_zip = nullptr;
    QPlainTextEdit* m_profile = nullptr;
};

// The company dialog over gCompany: editable from "公司信息" (whose right the caller has
// checked), read-only from the about box. True when saved.
bool EditCompanyInfo(QWidget* parent, bool readOnly);
