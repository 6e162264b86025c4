#pragma once
// The 100,000 loans of the batch benchmark: cli_batch_bench computes them,
// and bench/peer/run.sh gives the same ones to an external peer side by side.
#include <cmath>
#include <cstdio>
#include <ostream>
#include <random>
#include <string>

namespace qv::bench {

inline constexpr int kBatchLoans = 100'000;

// Amortizing loans of 12 to 360 monthly payments: the payment of an annuity
// at a rate of 3 to 30 %, rounded to the cent, with now and then an odd first
// period or a final balloon. The same seed gives the same loans every time.
inline void WriteBatchLoans(std::ostream& out) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> months(12, 360);
    std::uniform_real_distribution<double> rate(0.03, 0.30);
    std::uniform_int_distribution<int> amount(1'000, 50'000);
    std::uniform_int_distribution<int> shape(0, 3);
    out << "id,amount_financed,interval,groups\n";
    char pay[32];
    for (int k = 0; k < kBatchLoans; ++k) {
        const int n = months(random);
        const double i = rate(random) / 12;
        const double principal = amount(random);
        const double payment = std::ceil(principal * i / (1 - std::pow(1 + i, -n)) * 100) / 100;
        std::snprintf(pay, sizeof pay, "%.2f", payment);
        out << "loan-" << k << "," << principal << ",monthly,";
        switch (shape(random)) {
            case 0:  // an odd first period
                out << "1:" << pay << ":1:" << k % 29 << "; " << n - 1 << ":" << pay;
                break;
            case 1:  // a final balloon
                out << n - 1 << ":" << pay << "; 1:" << principal / 4;
                break;
            default:
                out << n << ":" << pay;
        }
        out << "\n";
    }
}

}  // namespace qv::bench
