#include "tests/picture/fixtures.h"
