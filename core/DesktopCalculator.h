#pragma once

#include <QString>
#include <QStringList>

namespace orvento::core {

class UserInteraction;

// "Kalkulačka": the first desktop calculator found on the PATH.
namespace calculator {

// The programs looked for, in this order.
QStringList candidates();
// The first candidate found in `searchPaths` (the PATH when empty); empty when there is none.
QString find(const QStringList& searchPaths = {});
// Starts it without waiting; when none is found or it cannot be started, says so and gives false.
bool start(UserInteraction& ui, const QStringList& searchPaths = {});
QString missingMessage();

} // namespace calculator
} // namespace orvento::core
