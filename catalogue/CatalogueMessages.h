#pragma once

#include "core/Database.h"

#include <QString>

namespace orvento::catalogue::messages {

// The texts the catalogue's windows show; kept together because several windows share them.

inline QString loadingCatalogue() {
    return QStringLiteral("Načítám seznam Ceníku\nprosím čekejte...");
}
inline QString sheetNameRequired() {
    return QStringLiteral("Musíte zadat název listu.");
}
inline QString groupNameRequired() {
    return QStringLiteral("Musíte zadat název skupiny.");
}
inline QString showGroupsFirst() {
    return QStringLiteral("Chcete-li přidat skupinu, zapněte nejprve zobrazení skupin (malé "
                          "tlačítko \"S\" v levém horním rohu).");
}
inline QString basicGroupNotEditable(const QString& name) {
    return QStringLiteral("Skupinu ") + name +
           QStringLiteral(" nelze měnit. Vyberte jinou skupinu.");
}
inline QString basicGroupNotDeletable(const QString& name) {
    return QStringLiteral("Skupinu ") + name + QStringLiteral(" nelze mazat.");
}
inline QString basicGroupSkipped() {
    return QStringLiteral("Upozornění: skupinu # Nezařazeno # nelze mazat/přesouvat.");
}
inline QString basicGroupInsertFailed() {
    return core::writeFailureText(QStringLiteral(
        "Při přidávání záznamu do \"Skupiny\" došlo k chybě: metoda \"Execute\" selhala."));
}
inline QString confirmDeleteItem() {
    return QStringLiteral("Opravdu chcete vyjmout položku?");
}
inline QString confirmDeleteMarkedItems() {
    return QStringLiteral("Varování: chystáte se smazat několik záznamů najednou!\n\nVyjmutí "
                          "položky je nevratná operace - opravdu chcete pokračovat a nenávratně "
                          "smazat označené položky?");
}
inline QString confirmDeleteGroup() {
    return QStringLiteral("Varování: mazání CELÉ SKUPINY!\n\nVyjmutí skupiny je nevratná operace, "
                          "opravdu chcete pokračovat ? Budou smazány všechny položky ve skupině!");
}
inline QString confirmDeleteSheet() {
    return QStringLiteral("Varování: mazání CELÉHO LISTU!\n\nVyjmutí listu je nevratná operace, "
                          "opravdu chcete pokračovat ? Budou smazány všechny položky a skupiny v "
                          "listu!");
}
inline QString deletingItems() {
    return QStringLiteral("Mazání položek\nprosím čekejte...");
}
inline QString deletingGroup() {
    return QStringLiteral("Mazání skupiny\nprosím čekejte...");
}
inline QString deletingSheet() {
    return QStringLiteral("Mazání listu\nprosím čekejte...");
}
inline QString onlySheet() {
    return QStringLiteral("Záznam nelze smazat: ceník musí obsahovat alespoň jeden list.");
}
// A refused group or sheet delete has deleted nothing, so only the first sentence is said.
inline QString groupItemsLocked() {
    return QStringLiteral("Operaci nebylo možné dokončit: některé položky v listu jsou právě "
                          "zamknuté jiným uživatelem!");
}
inline QString sheetContentLocked() {
    return QStringLiteral("Operaci nebylo možné dokončit: některé položky nebo skupiny v listu "
                          "jsou právě zamknuté jiným uživatelem!");
}
inline QString markSomethingFirst() {
    return QStringLiteral(
        "Musíte nejprve označit položky nebo skupiny, se kterými chcete pracovat.");
}
inline QString markSomethingFirstForBulk() {
    return markSomethingFirst() +
           QStringLiteral("\n\nPokud se jedná o hromadnou změnu údajů nebo o hromadné přecenění, "
                          "spusťte požadovanou funkci z hlavní plochy (menu Ostatní >> Operace s "
                          "ceníkem).");
}
inline QString bothKindsMarked() {
    return QStringLiteral(
        "Jsou označené položky i skupiny - musíte označit jen položky nebo jen skupiny.");
}
inline QString notWithGroups() {
    return QStringLiteral("Tuto operaci nelze provádět se skupinou.");
}
inline QString chooseSheetFirst() {
    return QStringLiteral("Nejprve vyberte list.");
}
inline QString sheetRequired() {
    return QStringLiteral("Musíte vybrat list.");
}
inline QString groupRequired() {
    return QStringLiteral("Musíte vybrat skupinu.");
}
inline QString itemUnusable() {
    return QStringLiteral("Položku nelze použít - opravte položku otevřením a přeuložením nebo "
                          "proveďte přepočet cen.");
}

} // namespace orvento::catalogue::messages
