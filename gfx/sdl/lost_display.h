// What happens when the connection to the X display breaks (the server ended,
// or killed the game's connection). Xlib's default ends the process with
// exit(), whose destructors pull shared objects away under the game thread.
#pragma once

namespace qb {

// Has Xlib call `handler` instead, on the thread whose call found the loss.
// The handler must end the process and not return.
void OnLostDisplay(void (*handler)());

}  // namespace qb
