// The data files under bd/ that the online update fetches, in the order it fetches them: the
// 33 reference texts and the formula file gs.dat.
#pragma once

#include <array>

inline constexpr std::array<const char*, 34> ReferenceBookFiles = {
    "yj.dat",   "xc.dat",   "xg.dat",    "qys.dat",   "hzz.dat",   "hzl.dat",   "yy1.dat",
    "yy2.dat",  "yy3.dat",  "qyzs1.dat", "qyzs2.dat", "qyzs3.dat", "qyzs4.dat", "qyzs5.dat",
    "xply.dat", "lytl.dat", "lyxz1.dat", "lyxz2.dat", "xzxd.dat",  "lyjc.dat",  "lysl.dat",
    "lygj.dat", "lyrm.dat", "lyfs.dat",  "lygx.dat",  "lydy1.dat", "lydy2.dat", "lydy3.dat",
    "sejf.dat", "bsjz.dat", "gs.dat",    "hjc1.dat",  "hjc2.dat",  "hjc3.dat"};
