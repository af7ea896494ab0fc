/*Error:-es-
Success:-es+
*/
/* Whether a structure may have no members. */
struct kx_empty { };
struct kx_empty kx_a;
