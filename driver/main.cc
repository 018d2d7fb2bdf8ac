#include <cstdio>

#include "driver/driver.h"

int main(int argc, char** argv) { return kegverter::RunKegverter(argc, argv, stdout, stderr); }
