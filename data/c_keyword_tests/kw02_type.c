/*Error:
Success:type
*/
/* A type name: it declares objects, forms pointer types, casts and sizeof. Words that combine
   with int were decided before, so a qualifier cannot get here by implicit int. */
XXX kx_a;
XXX *kx_p = (XXX *)0;
XXX *kx_q = &kx_a;
unsigned long kx_s = sizeof(XXX);
