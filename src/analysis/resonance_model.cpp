#include "analysis/resonance_model.h"

#include <numbers>

namespace qlx {

std::complex<double> ResonanceModel::Impedance(double hz) const
{
    using C = std::complex<double>;
    const C motional = rm / C(1.0, q * (hz / f0 - f0 / hz));
    return C(rb, 2 * std::numbers::pi * hz * lH) + motional;
}

}  // namespace qlx
