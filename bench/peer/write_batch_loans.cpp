// Writes the batch benchmark's 100,000 loans as a CSV file for quorvane-cli
// and for the external peer: write_batch_loans FILE.
#include <fstream>
#include <iostream>

#include "batch_loans.h"

int main(int argc, char** argv) {
    // An option (--help) is not taken for a file name to write over.
    if (argc != 2 || argv[1][0] == '-') {
        std::cerr << "usage: write_batch_loans FILE\n";
        return 2;
    }
    std::ofstream out(argv[1]);
    qv::bench::WriteBatchLoans(out);
    out.close();
    if (!out) {
        std::cerr << "cannot write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
