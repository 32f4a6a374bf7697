// dalvex-batch SCRIPT: runs a batch script and prints the results text.
#include <iostream>

#include "batch/batch_runner.h"
#include "stats/statistics_methods.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "Запуск: dalvex-batch СЦЕНАРИЙ\n";
        return dalvex::BatchFileError;
    }
    const dalvex::MethodRegistry methods = dalvex::BuiltStatisticsMethods();
    return dalvex::RunBatchFile(argv[1], methods, std::cout, std::cerr);
}
