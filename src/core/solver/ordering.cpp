#include "solver/ordering.h"

#include <algorithm>

namespace {

// Node adjacency in compressed rows, each row sorted by (degree, node number).
struct Graph {
    std::vector<int> start;  // [1..nn+1]
    std::vector<int> adj;
    int degree(int v) const { return start[v + 1] - start[v]; }
};

Graph buildGraph(const Model& m) {
    const int nn = m.nn;
    Graph g;
    std::vector<int> count(nn + 2, 0);
    for (int e = 1; e <= m.ne; ++e)
        for (int l = 1; l <= 3; ++l)
            count[m.noc[e][l]] += 2;
    std::vector<int> raw_start(nn + 2, 0);
    for (int v = 1; v <= nn; ++v)
        raw_start[v + 1] = raw_start[v] + count[v];
    std::vector<int> raw(raw_start[nn + 1]);
    std::vector<int> fill(raw_start.begin(), raw_start.end());
    for (int e = 1; e <= m.ne; ++e)
        for (int l = 1; l <= 3; ++l) {
            const int v = m.noc[e][l];
            for (int k = 1; k <= 3; ++k)
                if (k != l) raw[fill[v]++] = m.noc[e][k];
        }
    // Deduplicate in place, dropping self-loops of degenerate elements.
    g.start.assign(nn + 2, 0);
    int out = 0;
    for (int v = 1; v <= nn; ++v) {
        g.start[v] = out;
        auto b = raw.begin() + raw_start[v], en = raw.begin() + raw_start[v + 1];
        std::sort(b, en);
        int last = 0;
        for (auto it = b; it != en; ++it)
            if (*it != last && *it != v) raw[out++] = last = *it;
    }
    g.start[nn + 1] = out;
    raw.resize(out);
    g.adj = std::move(raw);
    for (int v = 1; v <= nn; ++v)
        std::stable_sort(g.adj.begin() + g.start[v], g.adj.begin() + g.start[v + 1],
                         [&g](int a, int b) { return g.degree(a) < g.degree(b); });
    return g;
}

// Breadth-first levels from root over unmarked nodes; returns the nodes in visiting order and
// the start of the last level. mark must hold `stamp` for visited nodes afterwards.
int levels(const Graph& g, int root, std::vector<int>& mark, int stamp, std::vector<int>& out,
           int& depth) {
    out.clear();
    out.push_back(root);
    mark[root] = stamp;
    std::size_t level_begin = 0;
    depth = 0;
    while (true) {
        const std::size_t level_end = out.size();
        for (std::size_t k = level_begin; k < level_end; ++k) {
            const int v = out[k];
            for (int a = g.start[v]; a < g.start[v + 1]; ++a) {
                const int u = g.adj[a];
                if (mark[u] != stamp) {
                    mark[u] = stamp;
                    out.push_back(u);
                }
            }
        }
        if (out.size() == level_end) return static_cast<int>(level_begin);
        level_begin = level_end;
        ++depth;
    }
}

}  // namespace

int halfBand(const Model& m, const std::vector<int>& pos) {
    int w = 0;
    for (int e = 1; e <= m.ne; ++e) {
        const int a = pos[m.noc[e][1]], b = pos[m.noc[e][2]], c = pos[m.noc[e][3]];
        w = std::max(w, std::max({a, b, c}) - std::min({a, b, c}) + 1);
    }
    return w;
}

Ordering reverseCuthillMcKee(const Model& m) {
    const int nn = m.nn;
    const Graph g = buildGraph(m);
    Ordering o;
    o.node.reserve(nn);
    std::vector<int> mark(nn + 1, 0);  // component stamps while searching for the root
    std::vector<char> placed(nn + 1, 0);
    std::vector<int> comp, lev;
    int stamp = 0;
    for (int seed = 1; seed <= nn; ++seed) {
        if (placed[seed]) continue;
        int depth = 0;
        levels(g, seed, mark, ++stamp, comp, depth);
        // Lowest degree in the piece, lowest number among equals.
        int root = seed;
        for (int v : comp)
            if (g.degree(v) < g.degree(root) || (g.degree(v) == g.degree(root) && v < root))
                root = v;
        // George–Liu: move to a node of the last level while the eccentricity grows.
        int last = levels(g, root, mark, ++stamp, lev, depth);
        while (true) {
            int cand = lev[last];
            for (std::size_t k = last; k < lev.size(); ++k) {
                const int v = lev[k];
                if (g.degree(v) < g.degree(cand) || (g.degree(v) == g.degree(cand) && v < cand))
                    cand = v;
            }
            int cand_depth = 0;
            std::vector<int> cand_lev;
            const int cand_last = levels(g, cand, mark, ++stamp, cand_lev, cand_depth);
            if (cand_depth <= depth) break;
            root = cand;
            depth = cand_depth;
            last = cand_last;
            lev.swap(cand_lev);
        }
        // Cuthill–McKee: neighbours are already sorted by degree, then number.
        const std::size_t begin = o.node.size();
        o.node.push_back(root);
        placed[root] = 1;
        for (std::size_t k = begin; k < o.node.size(); ++k) {
            const int v = o.node[k];
            for (int a = g.start[v]; a < g.start[v + 1]; ++a) {
                const int u = g.adj[a];
                if (!placed[u]) {
                    placed[u] = 1;
                    o.node.push_back(u);
                }
            }
        }
    }
    std::reverse(o.node.begin(), o.node.end());
    o.pos.assign(nn + 1, 0);
    for (int k = 0; k < nn; ++k)
        o.pos[o.node[k]] = k;
    o.nbw = halfBand(m, o.pos);
    return o;
}
