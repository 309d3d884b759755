#include "app/access/no_at_bridge.h"

bool AtSpiBridgeLeftOut() {
    return true;
}
