// Contacts between entities.
#include "sim/contacts.h"

namespace kragmoor {

void AggressionPass(World& /*world*/) {}

void ContactPass(World& /*world*/) {}

}  // namespace kragmoor
