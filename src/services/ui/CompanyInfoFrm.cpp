#include "CompanyInfoFrm.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

TCompanyInfoFrm::TCompanyInfoFrm(QWidget* parent) : TADlgFrm(parent)
{
    setObjectName(QStringLiteral("CompanyInfoFrm"));
    setWindowTitle(QStringLiteral("公司信息"));

    auto* form = new QFormLayout(ClientArea());
    form->setContentsMargins(0, 0, 0, 0);
    auto edit = [this, form](const char* name, const QString& label) {
        auto* e = new QLineEdit(ClientArea());
        e->setObjectName(QLatin1String(name));
        form->addRow(label, e);
        return e;
    };
    m_name = edit("edtCompanyName", QStringLiteral("企业名称"));
    m_name->setMinimumWidth(320);
    m_lawman = edit("edtLawman", QStringLiteral("负责人"));
    m_tel = edit("edtTel", QStringLiteral("联系电话"));
    m_fax = edit("edtFax", QStringLiteral("传真号码"));
    m_address = edit("edtAddress", QStringLiteral("地址"));
    m_zip = edit("edtZip", QStringLiteral("邮编"));
    m_profile = new QPlainTextEdit(ClientArea());
    m_profile->setObjectName(QStringLiteral("memProfile"));
    m_profile->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_profile->setTabChangesFocus(true);
    m_profile->setMinimumHeight(120);
    form->addRow(QStringLiteral("公司简介"), m_profile);
}

void TCompanyInfoFrm::SetReadOnly(bool readOnly)
{
    OkButton()->setEnabled(!readOnly);
}

void TCompanyInfoFrm::SetInfo(const RCompanyInfo& info)
{
    SetCompanyName(info.CompanyName);
    SetLawman(info.Lawman);
    SetTel(info.Tel);
    SetFax(info.Fax);
    SetAddress(info.Address);
    SetZip(info.Zip);
    SetProfile(info.Profile);
}

RCompanyInfo TCompanyInfoFrm::Info() const
{
    return {CompanyName(), Lawman(), Tel(), Fax(), Address(), Zip(), Profile()};
}

bool TCompanyInfoFrm::Execute()
{
    m_name->setFocus();
    return exec() == QDialog::Accepted;
}

QString TCompanyInfoFrm::CompanyName() const
{
    return m_name->text();
}
void TCompanyInfoFrm::SetCompanyName(const QString& v)
{
    m_name->setText(v);
}
QString TCompanyInfoFrm::Lawman() const
{
    return m_lawman->text();
}
void TCompanyInfoFrm::SetLawman(const QString& v)
{
    m_lawman->setText(v);
}
QString TCompanyInfoFrm::Tel() const
{
    return m_tel->text();
}
void TCompanyInfoFrm::SetTel(const QString& v)
{
    m_tel->setText(v);
}
QString TCompanyInfoFrm::Fax() const
{
    return m_fax->text();
}
void TCompanyInfoFrm::SetFax(const QString& v)
{
    m_fax->setText(v);
}
QString TCompanyInfoFrm::Address() const
{
    return m_address->text();
}
void TCompanyInfoFrm::SetAddress(const QString& v)
{
    m_address->setText(v);
}
QString TCompanyInfoFrm::Zip() const
{
    return m_zip->text();
}
void TCompanyInfoFrm::SetZip(const QString& v)
{
    m_zip->setText(v);
}
// The profile keeps the stored line breaks ("\r\n"); the editor works with "\n".
QString TCompanyInfoFrm::Profile() const
{
    return m_profile->toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}
void TCompanyInfoFrm::SetProfile(const QString& v)
{
    m_profile->setPlainText(QString(v).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

bool EditCompanyInfo(QWidget* parent, bool readOnly)
{
    TCompanyInfoFrm dlg(parent);
    return gCompany->EditCompany(dlg, readOnly);
}
