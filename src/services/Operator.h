#pragma once

#include <QString>

// The password change dialog as the operator's password change flow drives it.
class TPasswordDialog
{
public:
    virtual ~TPasswordDialog() = default;
    // Fills the read-only "当前用户" field.
    virtual void SetLoginId(const QString& loginId) = 0;
    // Shows the dialog modally; true when closed with OK (the dialog itself refuses OK while
    // the two new passwords differ).
    virtual bool Execute() = 0;
    virtual QString CurrentPassword() const = 0;
    virtual QString NewPassword() const = 0;
};

// An operator: login name, plain-text password, contact data and the rights string.
// gOperator is the logged-in one; "sa" (exactly, case-sensitive) holds every right.
class TOperator
{
public:
    QString LoginId;
    QString Password;
    QString Name;
    QString Contact;
    QString Note;
    QString Rights;

    // Copies the operator's row when exactly one row has that login name; otherwise the
    // object stays as it was. Returns whether it was loaded.
    bool LoadOperator(const QString& loginId);
    // Empties every value.
    void Clear();
    // False without a login name; else the exact, case-sensitive comparison.
    bool CheckPassword(const QString& typed) const;
    bool IsSa() const;
    bool HasRight(int code) const;
    // HasRight; when missing shows "对不起,您没有该功能的操作权限,请与管理员联系(code)." and,
    // with abort set, throws the silent EAbort.
    bool RequireRight(int code, bool abort = true) const;
    // Unless the operator is sa: "只有系统用户(sa)才能执行此操作." and the silent EAbort.
    void RequireSa() const;
    // The password change loop over the dialog, until OK succeeds or the dialog is cancelled.
    // Returns true when the password was changed.
    bool ChangePassword(TPasswordDialog& dialog);
    // Stores the new password for this login name (exactly one row must change).
    void StorePassword(const QString& newPassword);
};

extern TOperator* gOperator;
