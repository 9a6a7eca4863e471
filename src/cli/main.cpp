#include "cli/driver.h"

int main(int argc, char** argv) { return rptconv::Main(argc, argv); }
