#include "tests/effect/OracleCabinet.h"

#include <cmath>

OracleCabinet::OracleCabinet()
    : characterL_(MakeOracleCharacterFilter()),
      characterR_(MakeOracleCharacterFilter()),
      sizeL_(MakeOracleSizeFilter()),
      sizeR_(MakeOracleSizeFilter()),
      micL_(MakeOracleMicFilter()),
      micR_(MakeOracleMicFilter()) {}

double OracleCabinet::Blocker::Step(double x) {
  const double y = 0.999 * previousOutput + (x - previousInput);
  previousInput = x;
  previousOutput = y;
  return y;
}

double OracleCabinet::LevelAndShape(double m, double v) {
  const double u = std::pow(10.0, (m * -29.0) / 20.0) * v;
  const double u3 = (u * u) * u;
  return u - (std::sin(u3 * u) * 0.0001 + std::tanh(u3) * 0.0002);
}

void OracleCabinet::ProcessBlock(const double* const* inputs, double* const* outputs, int frames,
                                 double fs) {
  for (Smoother* s : {&mic_, &size_, &character_, &gain_, &sizeScale_}) {
    s->b1 = std::exp((1.0 / fs) * -6.283185307179586);
    s->a0 = 1.0 - s->b1;
  }
  const double characterTarget = character / 10.0;
  const double gainTarget = (output / 10.0) * 2.0;
  const double sizeTarget = size / 10.0;
  const double micTarget = (mic / 10.0) * 0.35 + 0.15;
  const double sizeScaleTarget = 0.18 - (1.0 - 2.0 * sizeTarget) * 0.07999999999999999;
  if (frames <= 0) return;

  for (int i = 0; i < frames; ++i) {
    const double m1 = mic_.Advance(micTarget);
    const double s1 = size_.Advance(sizeTarget);
    const double c1 = character_.Advance(characterTarget);
    characterL_.UpdateCoefficients(fs, c1, 1.0 - (s1 / 3.0 + m1));
    const double m2 = mic_.Advance(micTarget);
    const double s2 = size_.Advance(sizeTarget);
    const double c2 = character_.Advance(characterTarget);
    characterR_.UpdateCoefficients(fs, c2, 1.0 - (s2 / 3.0 + m2));
    const double s3 = size_.Advance(sizeTarget);
    const double k1 = sizeScale_.Advance(sizeScaleTarget);
    sizeL_.UpdateCoefficients(fs, k1, s3);
    const double s4 = size_.Advance(sizeTarget);
    const double k2 = sizeScale_.Advance(sizeScaleTarget);
    sizeR_.UpdateCoefficients(fs, k2, s4);
    const double m3 = mic_.Advance(micTarget);
    const double s5 = size_.Advance(sizeTarget);
    const double m4 = mic_.Advance(micTarget);
    micL_.UpdateCoefficients(fs, m4, s5 / 3.0 + m3);
    const double m5 = mic_.Advance(micTarget);
    const double s6 = size_.Advance(sizeTarget);
    const double m6 = mic_.Advance(micTarget);
    micR_.UpdateCoefficients(fs, m6, s6 / 3.0 + m5);

    const double inL = inputs[0][i];
    const double inR = inputs[1][i];
    const double vL = micL_.ProcessSample(sizeL_.ProcessSample(characterL_.ProcessSample(inL)));
    const double vR = micR_.ProcessSample(sizeR_.ProcessSample(characterR_.ProcessSample(inR)));
    const double dL = LevelAndShape(mic_.Advance(micTarget), vL);
    const double dR = LevelAndShape(mic_.Advance(micTarget), vR);
    const double oL = gain_.Advance(gainTarget) * dL;
    const double oR = gain_.Advance(gainTarget) * dR;

    const int b = static_cast<int>(bypass);
    if (b == 0) {
      outputs[0][i] = inL;
      outputs[1][i] = inR;
    } else {
      outputs[0][i] = dcL_.Step(oL);
      outputs[1][i] = dcR_.Step(oR);
    }
  }
}
