/*Error:-anon-
Success:-anon+
*/
/* Whether structures may hold unnamed structure and union members. */
struct kx_s { int kx_kind; union { int kx_i; float kx_f; }; };
int kx_get(struct kx_s *kx_p) { return kx_p->kx_i; }
