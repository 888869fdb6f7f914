#pragma once

#include <QByteArray>
#include <QString>

// The statements of the report catalogue (table report): templates are numbered by the largest
// Id + 1 and carry their report group, title and the template blob of the report engine.
class TRepCatalog
{
public:
    // Inserts an empty template of the group and returns its new Id.
    static int AddReport(const QString& title, int groupId);
    static void DeleteReport(int id);
    static void RenameReport(int id, const QString& title);
    // The template blob of Id (empty when the row has none or there is no such row).
    static QByteArray LoadTemplate(int id);
    // Stores the blob into the row of Id, or inserts a row of that Id when there is none.
    static void SaveTemplate(int id, const QByteArray& blob);
    static bool GroupHasReports(int groupId);
    // Inserts the shipped template of a group that has no template in the catalogue; true when
    // a row was inserted. An empty blob inserts nothing.
    static bool EnsureDefaultReport(int groupId, const QString& title, const QByteArray& blob);

private:
    static int NextId();
};
