#pragma once

// Whether AT-SPI's bridge is left out, so that no screen reader finds the window's tree: on
// Linux when NO_AT_BRIDGE leaves it out, as it does for every toolkit; on Windows, which has no
// AT-SPI, always (there a reader hears the game's texts only as its notifications).
bool AtSpiBridgeLeftOut();

// Whether NO_AT_BRIDGE's value (nullptr: unset) leaves the bridge out, read as the bridge itself
// reads it in atk_bridge_adaptor_init: a whole number that is 1. "0", "" and "yes" keep it.
bool NoAtBridgeLeavesItOut(const char* value);
