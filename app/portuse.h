#pragma once

namespace rovi {

// How the window had its port in use when the batch setup borrowed it:
// closed, open, or closed and watched for (to reopen when it is back).
enum class PortUse { Idle, Open, Watched };

} // namespace rovi
