// The compute-heading pane's bubble level, drawn on a canvas from the display list
// the server sends ({"width", "height", "commands": [{"shape": "rectangle" | "circle"
// | "line", "x1", "y1", "x2", "y2", "pen", "fill"}]}). Rectangles are filled between
// two corners, circles have their centre at (x1, y1) and radius x2, lines join the
// two ends; the list is in the view's own pixels and is scaled to the canvas.

export class BubbleView {
  constructor(container) {
    this.canvas = document.createElement("canvas");
    this.canvas.className = "bubble";
    this.canvas.setAttribute("role", "img");
    this.canvas.setAttribute("aria-label", "Bubble level");
    container.append(this.canvas);
    this.view = null;
  }

  update(view) {
    this.view = view;
    this.canvas.hidden = !view;
    if (view) this.draw();
  }

  draw() {
    const { width = 200, height = 200, commands = [] } = this.view;
    const ratio = window.devicePixelRatio || 1;
    this.canvas.width = Math.round(width * ratio);
    this.canvas.height = Math.round(height * ratio);
    this.canvas.style.setProperty("width", `${width}px`);
    this.canvas.style.setProperty("height", `${height}px`);
    const g = this.canvas.getContext("2d");
    g.setTransform(ratio, 0, 0, ratio, 0, 0);
    g.clearRect(0, 0, width, height);
    g.lineWidth = 1;
    for (const c of commands) {
      g.strokeStyle = c.pen;
      g.fillStyle = c.fill;
      if (c.shape === "rectangle") {
        g.fillRect(Math.min(c.x1, c.x2), Math.min(c.y1, c.y2), Math.abs(c.x2 - c.x1), Math.abs(c.y2 - c.y1));
      } else if (c.shape === "circle") {
        g.beginPath();
        g.arc(c.x1, c.y1, Math.max(0, c.x2), 0, 2 * Math.PI);
        g.fill();
        g.stroke();
      } else if (c.shape === "line") {
        // Half-pixel offsets put a one-pixel line on one row of pixels, not two.
        g.beginPath();
        g.moveTo(c.x1 + 0.5, c.y1 + 0.5);
        g.lineTo(c.x2 + 0.5, c.y2 + 0.5);
        g.stroke();
      }
    }
  }
}
