#pragma once

// The reader protocol in one include: frames, field codes and hex text.
#include "bytes.h"
#include "convert.h"
#include "exception.h"
#include "frame.h"
#include "hexstr.h"
