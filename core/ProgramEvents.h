#pragma once

#include <QObject>

namespace orvento::core {

// Program-wide notifications that several windows follow: the purchase-price display switch, a
// newly opened agenda, a new login.
class ProgramEvents : public QObject {
    Q_OBJECT
public:
    static ProgramEvents& instance();

Q_SIGNALS:
    void purchasePricesDisplayChanged(bool visible);
    void agendaOpened();
    void userChanged();

private:
    ProgramEvents() = default;
};

} // namespace orvento::core
