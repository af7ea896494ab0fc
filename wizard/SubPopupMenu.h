#pragma once

#include <QMenu>

class KestrixWizard;

// The submenu of one compiler family. Its items are the names of the family's compilers;
// an item's id is its position, so the id leads straight back to the name.
class SubPopupMenu : public QMenu {
    Q_OBJECT

public:
    SubPopupMenu(KestrixWizard* owner, const QString& family, QWidget* parent = nullptr);

    QString Family() const { return FamilyName; }
    // Appends an item for a compiler name and returns its id.
    int InsertItem(const QString& name);
    QString ItemText(int id) const;
    int Count() const;

    void EnableAll();
    void DisableByProduct(const QString& product);

signals:
    void activated(int id);

public slots:
    void slot_activated(int id);

private:
    KestrixWizard* Owner;
    QString FamilyName;
};
