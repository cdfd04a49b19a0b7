// (being written)
#include "RatioReport.h"
int main(int argc, char** argv) { return RunWithRatios(argc, argv, "Native"); }
