/*Error:
Success:
*/
// A function specifier written after the parameter list.
void kx_f() XXX { }
