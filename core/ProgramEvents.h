#pragma once

#include <QObject>

namespace orvento::core {

// Program-wide notifications that several windows follow: the purchase-price display switch, a
// newly opened agenda, a new login. One lives in the application context.
class ProgramEvents : public QObject {
    Q_OBJECT
public:
    ProgramEvents() = default;

Q_SIGNALS:
    void purchasePricesDisplayChanged(bool visible);
    void agendaOpened();
    void userChanged();
};

} // namespace orvento::core
