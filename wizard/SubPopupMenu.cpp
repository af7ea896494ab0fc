#include "wizard/SubPopupMenu.h"

#include "wizard/Compiler.h"
#include "wizard/KestrixWizard.h"

SubPopupMenu::SubPopupMenu(KestrixWizard* owner, const QString& family, QWidget* parent)
    : QMenu(QString(family).replace(QLatin1Char('&'), QLatin1String("&&")), parent), Owner(owner), FamilyName(family)
{
    // The title escapes "&" as the items do, so that a family name is never a shortcut.
    connect(this, &QMenu::triggered, this, [this](QAction* action) {
        const int id = int(actions().indexOf(action));
        if (id >= 0)
            emit activated(id);
    });
    connect(this, &SubPopupMenu::activated, this, &SubPopupMenu::slot_activated);
}

int SubPopupMenu::InsertItem(const QString& name)
{
    // The shown text escapes "&" so that a name is never taken as a shortcut marker; the
    // name itself travels as the action's data.
    QAction* action = addAction(QString(name).replace(QLatin1Char('&'), QLatin1String("&&")));
    action->setData(name);
    return Count() - 1;
}

QString SubPopupMenu::ItemText(int id) const
{
    const QList<QAction*> items = actions();
    if (id < 0 || id >= items.size())
        return {};
    return items[id]->data().toString();
}

int SubPopupMenu::Count() const
{
    return int(actions().size());
}

void SubPopupMenu::EnableAll()
{
    for (QAction* action : actions())
        action->setEnabled(true);
}

void SubPopupMenu::DisableByProduct(const QString& product)
{
    for (QAction* action : actions()) {
        if (!CompilerNameFitsProduct(action->data().toString(), product))
            action->setEnabled(false);
    }
}

void SubPopupMenu::slot_activated(int id)
{
    if (Owner)
        Owner->LoadCompilerSettings(FamilyName, ItemText(id));
}
