/*Error:
Success:protected
*/
// An access specifier whose members only derived classes reach.
class kx_X { XXX: int kx_a; };
class kx_Y : public kx_X { int kx_g() { return kx_a; } };
