/*Error:
Success:private
*/
// An access specifier whose members only the class itself reaches.
class kx_X { XXX: int kx_a; public: int kx_g() { return kx_a; } };
