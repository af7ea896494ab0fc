/*Error:
Success:type
*/
// A type name: it declares objects, forms pointer types, casts and sizeof.
XXX kx_a;
XXX *kx_p = (XXX *)0;
XXX *kx_q = &kx_a;
unsigned long kx_s = sizeof(XXX);
