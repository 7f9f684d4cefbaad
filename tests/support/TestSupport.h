// What the tests and the benchmark share, one header per job.
#pragma once

#include "tests/support/Companion.h"
#include "tests/support/Processes.h"
#include "tests/support/Screen.h"
#include "tests/support/Wait.h"
