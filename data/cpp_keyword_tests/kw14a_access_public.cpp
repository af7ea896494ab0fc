/*Error:
Success:public
*/
// An access specifier. The three tests go from the most to the least open access, because
// a public member also passes the tests for protected and private ones.
class kx_X { XXX: int kx_a; };
int kx_f(kx_X &kx_x) { return kx_x.kx_a; }
