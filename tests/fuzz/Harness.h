// What every harness needs: libFuzzer's entry point takes bytes, and a broken promise aborts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
