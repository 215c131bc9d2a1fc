# An independent evaluation of permeameter readings, in double precision, for
# checking the programs from outside: reads lines "ri h0" then "dtheta tmed tmax"
# and prints "delta0 romax romed a Ks Psi_m" for each reading. The zero of the
# objective is found by plain bisection, not by the engine's root finder.
function gfun(x, p,    s3, t1, t2, t3) {
    s3 = sqrt(3)
    t1 = (1 + 1 / (2 * x)) * log((x^3 - 1) / (x^3 - p^3))
    t2 = (3 / (2 * x)) * log((x - 1) / (x - p))
    t3 = (s3 / x) * atan2(s3 * (p - 1) * x, (p + 1) * x + 2 * x * x + 2 * p)
    return t1 - t2 + t3
}
function fobj(x) { return gfun(x, romax) / gfun(x, romed) - tmax / tmed }
NR == 1 { ri = $1; h0 = $2; rh = ri / 2; next }
NF >= 3 {
    dtheta = $1; tmed = $2; tmax = $3
    delta0 = 3 * h0 / dtheta / rh
    romax = (delta0 + 1) ^ (1 / 3)
    romed = (0.5 * delta0 + 1) ^ (1 / 3)
    lo = romax + 1e-6; hi = 20
    flo = fobj(lo)
    for (i = 0; i < 200; i++) {
        mid = (lo + hi) / 2; fm = fobj(mid)
        if ((fm > 0) == (flo > 0)) { lo = mid; flo = fm } else hi = mid
    }
    a = (lo + hi) / 2
    pi2 = 9.869606
    ks = gfun(a, romax) * pi2 * rh / (8 * tmax)
    psi = rh * dtheta * (a^3 - 1) / 3 - pi2 * rh / 8 - h0
    printf "%.6f %.6f %.6f %.6f %.6e %.6f\n", delta0, romax, romed, a, ks, psi
}
